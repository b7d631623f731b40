// Gathering the current picture's information: its file, its default
// application, its pixel size and colour profile, and the pixel-size text.
#include "pictureinfo/pictureinfo.h"

#include "pictureinfo/shorttext.h"
#include "shell/records.h"

// FIXME: the picture's information is not gathered yet.
void GetPictureInfo() {}

// The pixel-size text, "1024 x 768 px", or "?" when a size is missing.
void CleanUpRowFields() {
  Str255 number;

  if (G_INFO.pixelWidth == 0 || G_INFO.pixelHeight == 0) {
    G_INFO.dimensionsText[0] = 1;
    G_INFO.dimensionsText[1] = '?';
    return;
  }
  G_INFO.dimensionsText[0] = 0;
  NumToString(G_INFO.pixelWidth, number);
  AppendToShortText(G_INFO.dimensionsText, number + 1, number[0]);
  AppendCStringToShortText(G_INFO.dimensionsText, " x ");
  NumToString(G_INFO.pixelHeight, number);
  AppendToShortText(G_INFO.dimensionsText, number + 1, number[0]);
  AppendCStringToShortText(G_INFO.dimensionsText, " px");
}
