// The script runner: compiles and runs one script text in this process, so
// that it can change the window.
#pragma once

#include "platform/types.h"

// Compiles and runs a NUL-ended script text (Mac Roman), passed on byte for
// byte, with the default scripting component. Returns 0 on success, -50 when
// no scripting component opens, otherwise the status of making the text
// descriptor, compiling or running.
SInt32 SimpleRunAppleScript(const char* text);
