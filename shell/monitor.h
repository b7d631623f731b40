// The mouse-down monitor: a double-click made in another program with one of
// the layout program's cursors nudges the button "Trigger".
#pragma once

#include "platform/types.h"

void MyInstallEventHandler();
