#include "shell/records.h"

// Zero-initialised static storage: no constructor runs for any of them.
PictureInfo G_INFO;
DocSettings G_DOCSETTINGS;
Boolean G_ALWAYSOPENWITH;
SInt32 G_LASTOPENWITHSELECTEDROW;
Boolean G_TRIGGERBUTTONWASEXPANDED;
