#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "pictureinfo/measure.h"
#include "pictureinfo/pictureinfo.h"
#include "platform/cf.h"
#include "prefs/userprefs.h"
#include "shell/records.h"

namespace {

// Mac Roman: 0xD3 closing double quote (inches), 0xCA no-break space, 0xBC º.
const std::string kInch = "\xD3";

std::string Text(const unsigned char* shortText) {
  return std::string(reinterpret_cast<const char*>(shortText + 1), shortText[0]);
}

class MeasureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    G_INFO = {};
    G_DOCSETTINGS = {};
    G_USERPREFS.dimensionUnits = 0;
    Locale("en_US.UTF-8");
  }
  void TearDown() override { EXPECT_EQ(platform::live_cf_object_count(), 0u); }

  static void Locale(const char* name) { setenv("LC_ALL", name, 1); }

  // The dimensions text after a change to `units` for a picture of w by h.
  static std::string Change(SInt32 w, SInt32 h, SInt32 units) {
    G_INFO.pixelWidth = w;
    G_INFO.pixelHeight = h;
    CleanUpRowFields();
    G_USERPREFS.dimensionUnits = units;
    HandleDimensionsUnitsChange();
    return Text(G_INFO.dimensionsText);
  }

  static std::string Format(SInt16 code, float value) {
    Str255 out;
    val2strbufEX(code, value, out);
    return Text(out);
  }
};

}  // namespace

TEST_F(MeasureTest, WritesEachUnitForAUnitedStatesLocale) {
  EXPECT_EQ(Change(720, 360, 2), "10" + kInch + " x 5" + kInch);
  EXPECT_EQ(Change(720, 360, 3), "254 x 127 mm");
  EXPECT_EQ(Change(720, 360, 4), "25.4 x 12.7 cm");
  EXPECT_EQ(Change(720, 360, 5), "720 x 360 pt");
  EXPECT_EQ(Change(720, 360, 6), "60p x 30p");
  EXPECT_EQ(Change(1024, 768, 3), "361.244 x 270.933 mm");
  EXPECT_EQ(Change(1024, 768, 2), "14.222" + kInch + " x 10.667" + kInch);
  EXPECT_EQ(Change(1500, 360, 5), "1,500 x 360 pt");
}

TEST_F(MeasureTest, DocumentUnitsShowEachAxisWithItsSign) {
  G_DOCSETTINGS = {0, 1};
  EXPECT_EQ(Change(720, 360, 0), "10" + kInch + " x 127 mm");
  G_DOCSETTINGS = {1, 1};
  EXPECT_EQ(Change(720, 360, 0), "254 mm x 127 mm");
  G_DOCSETTINGS = {0x0304, 0x0107};  // only the low byte is the code
  EXPECT_EQ(Change(720, 360, 0), "720 pt x 12.7 cm");
  // A code without a factor shows that axis in pixels.
  G_DOCSETTINGS = {2, 6};
  EXPECT_EQ(Change(720, 360, 0), "720 px x 360 px");
}

TEST_F(MeasureTest, FollowsTheLocaleOfTheEnvironment) {
  Locale("de_DE.UTF-8");
  EXPECT_EQ(Change(720, 360, 4), "25,4 x 12,7 cm");
  EXPECT_EQ(Change(1500, 360, 5), "1.500 x 360 pt");
  Locale("fr_FR.UTF-8");
  EXPECT_EQ(Change(720, 360, 4), "25,4 x 12,7 cm");
  // French groups with a narrow no-break space; it shows as a no-break space.
  EXPECT_EQ(Change(1500, 360, 5),
            "1\xCA"
            "500 x 360 pt");
  // LC_ALL wins over LC_NUMERIC, which wins over LANG.
  unsetenv("LC_ALL");
  setenv("LANG", "de_DE.UTF-8", 1);
  setenv("LC_NUMERIC", "en_US.UTF-8", 1);
  EXPECT_EQ(Change(720, 360, 4), "25.4 x 12.7 cm");
  unsetenv("LC_NUMERIC");
  EXPECT_EQ(Change(720, 360, 4), "25,4 x 12,7 cm");
  Locale("C");
  EXPECT_EQ(Change(1500, 360, 4), "52.917 x 12.7 cm");
  EXPECT_EQ(Change(1500, 360, 5), "1500 x 360 pt");
}

TEST_F(MeasureTest, LocalesWhoseDigitsHaveNoMacRomanFormWriteLatinDigits) {
  for (const char* locale : {"ar_EG.UTF-8", "fa_IR.UTF-8", "bn_BD.UTF-8"}) {
    SCOPED_TRACE(locale);
    Locale(locale);
    EXPECT_EQ(Change(720, 360, 5), "720 x 360 pt");
    EXPECT_EQ(Change(1500, 360, 5), "1,500 x 360 pt");
    EXPECT_EQ(Change(720, 360, 4), "25.4 x 12.7 cm");
  }
}

TEST_F(MeasureTest, NarrowsEachValueToAFloatBeforeFormatting) {
  // 9 px is 0.3175000002 cm as a double, but 0.31749999 once narrowed.
  EXPECT_EQ(Change(9, 27, 4), "0.317 x 0.952 cm");
}

TEST_F(MeasureTest, MissingSizeKeepsTheQuestionMark) {
  EXPECT_EQ(Change(720, 0, 3), "?");
  EXPECT_EQ(Change(0, 360, 2), "?");
}

TEST_F(MeasureTest, UnitsWithoutAFactorShowThePixelSize) {
  EXPECT_EQ(Change(720, 360, 1), "720 x 360 px");
  EXPECT_EQ(Change(720, 360, 7), "720 x 360 px");
  EXPECT_EQ(Change(720, 360, -1), "720 x 360 px");
  // The change replaces the pixel text, and a later change can bring it back.
  EXPECT_EQ(Change(720, 360, 3), "254 x 127 mm");
  G_USERPREFS.dimensionUnits = 1;
  HandleDimensionsUnitsChange();
  EXPECT_EQ(Text(G_INFO.dimensionsText), "720 x 360 px");
}

TEST_F(MeasureTest, FormatterCodesSetDecimalsAndSigns) {
  EXPECT_EQ(Format(101, 12.345f), "12.35%");
  EXPECT_EQ(Format(105, 45.25f), "45.2\xBC");  // half to even
  EXPECT_EQ(Format(100, 2.5f), "2");
  EXPECT_EQ(Format(3, 60.0f), "60p");
  EXPECT_EQ(Format(2, 1.23456f), "1.235");
  EXPECT_EQ(Format(42, -0.5f), "-0.5");
}

TEST(PixelSizeText, JoinsWidthAndHeight) {
  G_INFO = {};
  G_INFO.pixelWidth = 1024;
  G_INFO.pixelHeight = 768;
  CleanUpRowFields();
  EXPECT_EQ(Text(G_INFO.dimensionsText), "1024 x 768 px");
  G_INFO.pixelWidth = -5;
  CleanUpRowFields();
  EXPECT_EQ(Text(G_INFO.dimensionsText), "-5 x 768 px");
  G_INFO.pixelHeight = 0;
  CleanUpRowFields();
  EXPECT_EQ(Text(G_INFO.dimensionsText), "?");
}
