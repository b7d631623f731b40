// The picture's size in the user's units, written for the user's locale.
#pragma once

#include "platform/types.h"

void val2strbufEX(SInt16 unitCode, float value, Str255 out);
void HandleDimensionsUnitsChange();
