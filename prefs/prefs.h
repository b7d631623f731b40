// Reading and saving the preferences record G_USERPREFS.
#pragma once

#include "platform/types.h"

// Defaults, then the preferences file over them, then the always-open-with and
// trigger flags cleared and the four cursor images loaded.
void GetPreferences();
// postAppCount 0 and the 36 bytes from dimensionUnits on zeroed.
void LoadDefaultUserPrefs();
// True only when the whole record was read from the file.
Boolean GetUserPrefs();
// Writes the record; a failure shows an alert.
void SaveUserPrefs();
