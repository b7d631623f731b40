// Showing a folder of the picture's path in the file manager.
#pragma once

#include "platform/types.h"

// The user asked to see a folder of the picture's path: the path up to its
// (count - level)-th "/" (the whole path when it has fewer, or when that is 0
// or less). One beep when that folder cannot be found.
void HandleRevealFolder(SInt16 level, SInt32 count);
// Brings the file manager forward and asks it to show the folder. Every
// failure ends in one beep; the result is always noErr.
OSErr MyRevealFolder(const FSSpec* folder);
