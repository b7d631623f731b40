// The picture's size in physical units at 72 pixels per inch (one pixel is
// one point), written with the user's locale.
#include "pictureinfo/measure.h"

#include "pictureinfo/pictureinfo.h"
#include "pictureinfo/shorttext.h"
#include "platform/numberformat.h"
#include "prefs/userprefs.h"
#include "shell/records.h"
#include "window/scriptrunner.h"

// Unit codes of val2strbufEX and of the document's measurements.
enum : SInt16 {
  kUnitInches = 0,
  kUnitMillimeters = 1,
  kUnitPicas = 3,
  kUnitPoints = 4,
  kUnitCentimeters = 7,
  kUnitWhole = 100,
  kUnitPercent = 101,
  kUnitDegrees = 105,
};

// dimensionUnits values that name one unit for both axes.
enum : SInt32 {
  kDimensionsDocumentUnits = 0,
  kDimensionsPixels = 1,
  kDimensionsMillimeters = 3,
  kDimensionsCentimeters = 4,
  kDimensionsPoints = 5,
  kDimensionsPicas = 6,
};

static SInt32 MaxFractionDigits(SInt16 unitCode) {
  switch (unitCode) {
    case kUnitPercent:
      return 2;
    case kUnitDegrees:
      return 1;
    case kUnitWhole:
      return 0;
    default:
      return 3;
  }
}

// The unit sign in Mac Roman: 0xD3 is the closing double quote of inches,
// 0xBC the masculine ordinal that stands for degrees.
static const char* UnitSign(SInt16 unitCode) {
  switch (unitCode) {
    case kUnitInches:
      return "\xD3";
    case kUnitMillimeters:
      return " mm";
    case kUnitPicas:
      return "p";
    case kUnitPoints:
      return " pt";
    case kUnitCentimeters:
      return " cm";
    case kUnitPercent:
      return "%";
    case kUnitDegrees:
      return "\xBC";
    default:
      return "";
  }
}

void val2strbufEX(SInt16 unitCode, float value, Str255 out) {
  SInt32 maxDecimals = MaxFractionDigits(unitCode);
  CFLocaleRef locale = CFLocaleCopyCurrent();
  CFNumberFormatterRef formatter =
      CFNumberFormatterCreate(kCFAllocatorDefault, locale, kCFNumberFormatterDecimalStyle);
  CFNumberRef decimals = CFNumberCreate(kCFAllocatorDefault, kCFNumberIntType, &maxDecimals);
  CFNumberFormatterSetProperty(formatter, kCFNumberFormatterMaxFractionDigits, decimals);
  CFStringRef formatted = CFNumberFormatterCreateStringWithValue(kCFAllocatorDefault, formatter,
                                                                 kCFNumberFloatType, &value);
  // French groups thousands with a narrow no-break space, which has no Mac
  // Roman form: it becomes a no-break space rather than an empty text.
  CopyCFStringToShortText(formatted, out);
  pstrappend(out, UnitSign(unitCode));
  CFRelease(locale);
  CFRelease(formatter);
  CFRelease(decimals);
  CFRelease(formatted);
}

// True for the codes that have a factor from pixels.
static bool IsConvertibleUnit(SInt16 unitCode) {
  return unitCode == kUnitInches || unitCode == kUnitMillimeters || unitCode == kUnitPicas ||
         unitCode == kUnitPoints || unitCode == kUnitCentimeters;
}

// The pixel count in a unit: widened to double, multiplied by the unit's
// factor (these decimal constants, not the exact fractions), narrowed back.
static float PixelsToUnits(SInt32 pixels, SInt16 unitCode) {
  float count = static_cast<float>(pixels);
  switch (unitCode) {
    case kUnitInches:
      return static_cast<float>(static_cast<double>(count) * 0.0138888889);
    case kUnitMillimeters:
      return static_cast<float>(static_cast<double>(count) * 0.352777778);
    case kUnitPicas:
      return static_cast<float>(static_cast<double>(count) * 0.0833333333);
    case kUnitCentimeters:
      return static_cast<float>(static_cast<double>(count) * 0.0352777778);
    default:
      return count;  // points, and the pixel count itself
  }
}

// The codes for width and height; false when dimensionUnits names no unit.
static bool GetUnitCodes(SInt32 dimensionUnits, SInt16* widthCode, SInt16* heightCode) {
  static const SInt16 kCodes[] = {
      0, 0, kUnitInches, kUnitMillimeters, kUnitCentimeters, kUnitPoints, kUnitPicas};
  if (dimensionUnits == kDimensionsDocumentUnits) {
    *widthCode = static_cast<SInt16>(G_DOCSETTINGS.docHorizontalUnits & 0xFF);
    *heightCode = static_cast<SInt16>(G_DOCSETTINGS.docVerticalUnits & 0xFF);
    return true;
  }
  if (dimensionUnits <= kDimensionsPixels || dimensionUnits > kDimensionsPicas) return false;
  *widthCode = *heightCode = kCodes[dimensionUnits];
  return true;
}

// One axis in its unit. A document unit without a factor shows the axis's
// pixel count with " px".
static void FormatAxis(SInt32 pixels, SInt16 unitCode, Str255 out) {
  if (!IsConvertibleUnit(unitCode)) {
    val2strbufEX(kUnitWhole, static_cast<float>(pixels), out);
    pstrappend(out, " px");
    return;
  }
  val2strbufEX(unitCode, PixelsToUnits(pixels, unitCode), out);
}

void HandleDimensionsUnitsChange() {
  SInt32 units = G_USERPREFS.dimensionUnits;
  SInt16 widthCode = 0, heightCode = 0;
  Str255 widthText, heightText;

  if (G_INFO.pixelWidth == 0 || G_INFO.pixelHeight == 0) return;
  // Pixels, and the values that name no unit, show the pixel-size text.
  if (!GetUnitCodes(units, &widthCode, &heightCode)) {
    CleanUpRowFields();
    return;
  }
  FormatAxis(G_INFO.pixelWidth, widthCode, widthText);
  // Millimetres, centimetres and points show their sign once, after the height.
  if ((units == kDimensionsMillimeters || units == kDimensionsCentimeters ||
       units == kDimensionsPoints) &&
      widthText[0] > 2)
    widthText[0] -= 3;
  FormatAxis(G_INFO.pixelHeight, heightCode, heightText);

  G_INFO.dimensionsText[0] = 0;
  pstrconcat(G_INFO.dimensionsText, widthText);
  pstrappend(G_INFO.dimensionsText, " x ");
  pstrconcat(G_INFO.dimensionsText, heightText);
}
