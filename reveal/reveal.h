// Showing a folder of the picture's path in the file manager.
#pragma once

#include "platform/types.h"

void HandleRevealFolder(SInt16 level, SInt32 count);
OSErr MyRevealFolder(const FSSpec* folder);
