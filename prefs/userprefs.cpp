#include "prefs/userprefs.h"

UserPrefs G_USERPREFS;
