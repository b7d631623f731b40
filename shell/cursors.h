// The images of the layout program's cursors, which the mouse-down monitor
// compares with the current cursor. An image is 1024 bytes: 256 signed 32-bit
// little-endian values, one per pixel of a 16 × 16 cursor, row by row from
// the top, each the first byte of the pixel (alpha) taken as a signed byte.
#pragma once

#include <cstddef>

#include "platform/types.h"

constexpr int kCursorSide = 16;
constexpr int kCursorPixels = kCursorSide * kCursorSide;
constexpr std::size_t kCursorDataBytes = 1024;

// The companion plug-in's bundle identifier: its bundle holds the images
// "Crsr1", "Crsr2", "Crsr1PC" and "Crsr2PC" in Contents/Resources.
inline constexpr char kCursorPlugInBundleID[] = "org.tavrine.layout-cursors";

extern SInt32 G_CURSOR_Crsr1[kCursorPixels];
extern SInt32 G_CURSOR_Crsr2[kCursorPixels];
extern SInt32 G_CURSOR_Crsr1PC[kCursorPixels];
extern SInt32 G_CURSOR_Crsr2PC[kCursorPixels];

// Reads image `selector` (0 Crsr1, 1 Crsr2, 2 Crsr1PC, 3 Crsr2PC) from the
// plug-in's bundle into its buffer. True when all 1024 bytes were read. A
// shorter file puts its bytes at the front of the buffer and gives false;
// anything else that fails leaves the buffer as it was.
Boolean LoadCursorData(SInt16 selector);

// Captures the current cursor's image into the file "CursorData" of the
// maker's folder in the user's Preferences folder, overwriting it. A failure
// shows the alert "*******" and writes nothing further.
void SaveCursorData();
