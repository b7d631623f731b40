// The script bridge: the native operations the window script calls by name.
#pragma once

#include "platform/types.h"

// The bridge's own operations.
void UpdateLastOpenWithSelectedRowGlobal(SInt32 row);
SInt32 GetLastOpenWithSelectedRowGlobal();
void UpdateAlwaysOpenWithGlobal(SInt32 state);
// Sets the application bundle's modification date to now; failure is ignored.
void touchBundleDate();
void touchAppDate();
// Opens the picture with the chosen application.
void BridgeLaunchApplication();
