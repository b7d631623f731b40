// Reading and saving the preferences record G_USERPREFS, in the file "Veska
// Tavrine Pro for ID Prefs" of the folder "VeskaSoftware" in the user's
// Preferences folder.
#pragma once

#include "platform/cf.h"
#include "platform/types.h"

struct FSRef;

// The maker's folder in the user's Preferences folder, "VeskaSoftware": 13
// UTF-16 characters without a terminator; its length goes beside it.
constexpr UniCharCount kVeskaFolderLength = 13;
extern const UniChar G_VESKAFOLDER[kVeskaFolderLength];

// Finds the maker's folder in the user's Preferences folder, making both
// folders when they are missing. Returns noErr with makerFolderRef set, or
// the status of making the maker's folder.
OSErr MakeVeskaFolder(FSRef* makerFolderRef);

// Defaults, then the preferences file over them, then the always-open-with and
// trigger flags cleared and the four cursor images loaded.
void GetPreferences();
// postAppCount 0 and the 36 bytes from dimensionUnits on zeroed.
void LoadDefaultUserPrefs();
// Reads the file into the record; true only when all 3696 bytes were read. A
// short file puts its bytes at the start of the record. A postAppCount outside
// 0 to 50 (a damaged or foreign file) is clamped into it.
Boolean GetUserPrefs();
// Writes the record. The bytes go to a temporary file beside the preferences
// file, which is flushed and then put in its place, so the file always holds
// either the old record or the new one. A failure shows an alert.
void SaveUserPrefs();
