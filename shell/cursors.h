// The four stored cursor images of the layout program's cursors, which the
// mouse-down monitor compares the current cursor with, in this order. Each
// holds 256 values, one for each pixel of a 16 × 16 image, row by row from
// the top: the first byte of the pixel's 32-bit value taken as a signed byte
// (so -128 to 127). Zero at start.
#pragma once

#include "platform/types.h"

extern SInt32 G_CURSOR_Crsr1[256];
extern SInt32 G_CURSOR_Crsr2[256];
extern SInt32 G_CURSOR_Crsr1PC[256];
extern SInt32 G_CURSOR_Crsr2PC[256];
