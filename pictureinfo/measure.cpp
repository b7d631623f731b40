#include "pictureinfo/measure.h"

// FIXME: the units change is not built yet.
void val2strbufEX(SInt16, float, Str255 out) { out[0] = 0; }
void HandleDimensionsUnitsChange() {}
