#include "pictureinfo/pictureinfo.h"

// FIXME: the picture's information is not gathered yet.
void GetPictureInfo() {}
void CleanUpRowFields() {}
