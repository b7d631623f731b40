#include "shell/shared_values.h"

#include "prefs/userprefs.h"
#include "shell/records.h"

namespace {

// Where the getter hands its text over; it stays valid until the next call,
// long enough for the bridge to make its string.
char s_handover[256];

const unsigned char* SharedStringField(SInt32 index) {
  switch (index) {
    case kPicturePathString:
      return G_INFO.picturePath;
    case kColorProfileNameString:
      return G_INFO.colorProfileName;
    case kDimensionsTextString:
      return G_INFO.dimensionsText;
    case kCreatorAppPathString:
      return G_INFO.creatorAppPath;
    default:
      return nullptr;
  }
}

}  // namespace

const char* GetStringValueFromCGlobal(SInt32 index) {
  const unsigned char* field = SharedStringField(index);
  Str255 working;
  working[0] = 0;
  if (field) BlockMove(field, working, field[0] + 1);
  CopyPascalStringToC(working, s_handover);
  return s_handover;
}

void SetStringValueToCGlobal(SInt32 index, const char* text) {
  Str255 working;
  if (text == nullptr || text[0] == '\0') {
    working[0] = 0;
  } else {
    CopyCStringToPascal(text, working);
  }
  if (index == kPicturePathString) BlockMove(working, G_INFO.picturePath, working[0] + 1);
}

SInt32 GetIntValueFromCGlobal(SInt32 /*index*/) {
  return 0;
}

void SetIntValueToCGlobal(SInt32 index, SInt32 value) {
  switch (index) {
    case kDimensionUnitsInteger:
      G_USERPREFS.dimensionUnits = value;
      break;
    case kDocHorizontalUnitsInteger:
      G_DOCSETTINGS.docHorizontalUnits = static_cast<SInt16>(value);
      break;
    case kDocVerticalUnitsInteger:
      G_DOCSETTINGS.docVerticalUnits = static_cast<SInt16>(value);
      break;
    default:
      break;
  }
}
