#include "prefs/prefs.h"

#include "prefs/userprefs.h"
#include "shell/records.h"

void GetPreferences() {
  LoadDefaultUserPrefs();
  GetUserPrefs();
  G_ALWAYSOPENWITH = false;
  G_TRIGGERBUTTONWASEXPANDED = false;
}

void LoadDefaultUserPrefs() {
  G_USERPREFS.postAppCount = 0;
  G_USERPREFS.dimensionUnits = 0;
  for (UInt8& byte : G_USERPREFS.reserved3) byte = 0;
}

// FIXME: the preferences file is not read or written yet.
Boolean GetUserPrefs() {
  return false;
}

void SaveUserPrefs() {}
