// The values the window script reads and writes by number: shared strings
// (0 picturePath, 1 colorProfileName, 2 dimensionsText, 6 creatorAppPath) and
// shared integers (3 dimensionUnits, 4 docHorizontalUnits, 5 docVerticalUnits).
#pragma once

#include "platform/types.h"

// The field's text, NUL-ended Mac Roman, valid until the next call. An index
// that the table does not list reads as the empty text.
const char* GetStringValueFromCGlobal(SInt32 index);
// Only index 0 is written, cut to its first 255 bytes; other indexes change
// nothing.
void SetStringValueToCGlobal(SInt32 index, const char* text);
// No integer is readable: every index reads as 0.
SInt32 GetIntValueFromCGlobal(SInt32 index);
// 3 takes the whole value; 4 and 5 its low 16 bits; other indexes change nothing.
void SetIntValueToCGlobal(SInt32 index, SInt32 value);
