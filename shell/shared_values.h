// The values the window script reads and writes by number: shared strings
// (picturePath, colorProfileName, dimensionsText, creatorAppPath) and shared
// integers (dimensionUnits, docHorizontalUnits, docVerticalUnits), numbered
// apart.
#pragma once

#include "platform/types.h"

// The numbers of the shared strings and integers, the same that the window
// script names at its top.
constexpr SInt32 kPicturePathString = 0;
constexpr SInt32 kColorProfileNameString = 1;
constexpr SInt32 kDimensionsTextString = 2;
constexpr SInt32 kCreatorAppPathString = 6;
constexpr SInt32 kDimensionUnitsInteger = 3;
constexpr SInt32 kDocHorizontalUnitsInteger = 4;
constexpr SInt32 kDocVerticalUnitsInteger = 5;

// The field's text, NUL-ended Mac Roman, valid until the next call. An index
// that the table does not list reads as the empty text.
const char* GetStringValueFromCGlobal(SInt32 index);
// Only kPicturePathString is written, cut to its first 255 bytes; other
// indexes change nothing.
void SetStringValueToCGlobal(SInt32 index, const char* text);
// No integer is readable: every index reads as 0.
SInt32 GetIntValueFromCGlobal(SInt32 index);
// kDimensionUnitsInteger takes the whole value; kDocHorizontalUnitsInteger and
// kDocVerticalUnitsInteger its low 16 bits; other indexes change nothing.
void SetIntValueToCGlobal(SInt32 index, SInt32 value);
