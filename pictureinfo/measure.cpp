// The picture's size in physical units at 72 pixels per inch (one pixel is
// one point), written with the user's locale.
#include "pictureinfo/measure.h"

#include "pictureinfo/pictureinfo.h"
#include "pictureinfo/shorttext.h"
#include "platform/numberformat.h"
#include "prefs/userprefs.h"
#include "shell/records.h"
#include "window/scriptrunner.h"

namespace {

// A unit code of val2strbufEX and of the document's measurements: how many
// decimals it shows at most, the sign written after the number (Mac Roman:
// 0xD3 is the closing double quote of inches, 0xBC the masculine ordinal that
// stands for degrees), and the factor from a pixel count, 0 for a code that
// has none. The factors are these decimal constants, not the exact fractions.
struct UnitCode {
  SInt16 code;
  SInt32 maxDecimals;
  const char* sign;
  double factor;
};

constexpr SInt16 kUnitWhole = 100;

constexpr UnitCode kUnitCodes[] = {
    {0, 3, "\xD3", 0.0138888889},  // inches
    {1, 3, " mm", 0.352777778},    // millimetres
    {3, 3, "p", 0.0833333333},     // picas
    {4, 3, " pt", 1.0},            // points
    {7, 3, " cm", 0.0352777778},   // centimetres
    {kUnitWhole, 0, "", 0},        // whole numbers
    {101, 2, "%", 0},              // percentages
    {105, 1, "\xBC", 0},           // degrees
};
constexpr UnitCode kOtherUnitCode = {-1, 3, "", 0};

const UnitCode& FindUnitCode(SInt16 code) {
  for (const UnitCode& unit : kUnitCodes) {
    if (unit.code == code) return unit;
  }
  return kOtherUnitCode;
}

// The values of dimensionUnits that name one unit for both axes (the window
// script's theUnitCodes), with that unit's code. Millimetres, centimetres and
// points show their sign once, after the height. 0 stands for the document's
// own units, 1 for pixels.
struct DimensionUnits {
  SInt32 value;
  SInt16 code;
  bool signOnce;
};

constexpr SInt32 kDimensionsDocumentUnits = 0;

constexpr DimensionUnits kDimensionUnits[] = {
    {2, 0, false},  // inches
    {3, 1, true},   // millimetres
    {4, 7, true},   // centimetres
    {5, 4, true},   // points
    {6, 3, false},  // picas
};

const DimensionUnits* FindDimensionUnits(SInt32 value) {
  for (const DimensionUnits& units : kDimensionUnits) {
    if (units.value == value) return &units;
  }
  return nullptr;
}

}  // namespace

void val2strbufEX(SInt16 unitCode, float value, Str255 out) {
  const UnitCode& unit = FindUnitCode(unitCode);
  SInt32 maxDecimals = unit.maxDecimals;
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
  pstrappend(out, unit.sign);
  CFRelease(locale);
  CFRelease(formatter);
  CFRelease(decimals);
  CFRelease(formatted);
}

namespace {

// One axis in its unit: the pixel count widened to double, multiplied by the
// unit's factor and narrowed back. A document unit without a factor shows the
// axis's pixel count with " px".
void FormatAxis(SInt32 pixels, SInt16 unitCode, Str255 out) {
  float count = static_cast<float>(pixels);
  double factor = FindUnitCode(unitCode).factor;
  if (factor == 0) {
    val2strbufEX(kUnitWhole, count, out);
    pstrappend(out, " px");
    return;
  }
  val2strbufEX(unitCode, static_cast<float>(static_cast<double>(count) * factor), out);
}

// Drops the unit sign (" mm", " cm" or " pt") from the end of a text.
void RemoveUnitSign(Str255 text) {
  if (text[0] > 2) text[0] -= 3;
}

}  // namespace

void HandleDimensionsUnitsChange() {
  if (G_INFO.pixelWidth == 0 || G_INFO.pixelHeight == 0) return;

  SInt32 units = G_USERPREFS.dimensionUnits;
  SInt16 widthCode = static_cast<SInt16>(G_DOCSETTINGS.docHorizontalUnits & 0xFF);
  SInt16 heightCode = static_cast<SInt16>(G_DOCSETTINGS.docVerticalUnits & 0xFF);
  const DimensionUnits* named = FindDimensionUnits(units);
  if (named != nullptr) {
    widthCode = heightCode = named->code;
  } else if (units != kDimensionsDocumentUnits) {
    // Pixels, and the values that name no unit, show the pixel-size text.
    CleanUpRowFields();
    return;
  }

  Str255 widthText, heightText;
  FormatAxis(G_INFO.pixelWidth, widthCode, widthText);
  if (named != nullptr && named->signOnce) RemoveUnitSign(widthText);
  FormatAxis(G_INFO.pixelHeight, heightCode, heightText);

  G_INFO.dimensionsText[0] = 0;
  pstrconcat(G_INFO.dimensionsText, widthText);
  pstrappend(G_INFO.dimensionsText, " x ");
  pstrconcat(G_INFO.dimensionsText, heightText);
}
