// The mouse-down monitor: a double-click made in another program with one of
// the layout program's cursors nudges the button "Trigger".
#pragma once

#include "platform/input.h"
#include "platform/quickdraw.h"
#include "platform/types.h"

// The image of the cursor examined for the current click; none between clicks.
extern PixMapHandle G_crsrData;

// Installs MouseDownHandler on the event monitor target for mouse-downs. The
// handler stays until the process ends. When the desktop cannot be watched,
// says so once on standard error and goes on without it.
void MyInstallEventHandler();

// Examines one mouse-down: a double-click whose cursor image matches one of
// the four stored images, or cannot be examined, widens the button "Trigger"
// of the window "Main" by one point, the next one narrows it again. Returns
// the status of reading the click count when that fails, the runner's status
// after a nudge, and 0 otherwise.
OSStatus MouseDownHandler(EventHandlerCallRef inHandlerCallRef, EventRef inEvent, void* inUserData);
