#include "platform/text.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <string>

using namespace platform;

TEST(MacRoman, PinsTheCharactersTheProgramUses) {
  EXPECT_EQ(mac_roman_to_unicode(0x8E), U'é');
  EXPECT_EQ(mac_roman_to_unicode(0xC9), U'…');
  EXPECT_EQ(mac_roman_to_unicode(0xD0), U'–');
  EXPECT_EQ(mac_roman_to_unicode(0xD3), U'”');
  EXPECT_EQ(mac_roman_to_unicode(0xBC), U'º');
  EXPECT_EQ(mac_roman_to_unicode(0xDB), U'€');
  EXPECT_EQ(mac_roman_to_unicode(0xCA), U'\u00A0');
  EXPECT_EQ(mac_roman_to_utf8("Other\xC9"), "Other…");
}

TEST(MacRoman, RoundTripsAll256Bytes) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string back;
  ASSERT_TRUE(utf8_to_mac_roman_exact(mac_roman_to_utf8(all), back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(utf8_to_mac_roman_lossy(mac_roman_to_utf8(all)), all);
}

TEST(MacRoman, AgreesWithIcuConverter) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* conv = ucnv_open("macintosh", &status);
  ASSERT_TRUE(U_SUCCESS(status));
  for (int b = 0x80; b < 256; ++b) {
    char in = static_cast<char>(b);
    UChar out[4] = {};
    status = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(conv, out, 4, &in, 1, &status);
    ASSERT_TRUE(U_SUCCESS(status));
    ASSERT_EQ(n, 1);
    EXPECT_EQ(static_cast<char32_t>(out[0]), mac_roman_to_unicode(static_cast<unsigned char>(b)))
        << "byte " << b;
  }
  ucnv_close(conv);
}

TEST(MacRoman, ExactConversionRefusesCharactersWithoutAForm) {
  std::string out = "kept?";
  EXPECT_FALSE(utf8_to_mac_roman_exact("Łódź", out));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(utf8_to_mac_roman_exact("\xFF", out));
}

TEST(MacRoman, LossyConversionTakesTheNearestCharacter) {
  EXPECT_EQ(utf8_to_mac_roman_lossy("Café"), "Caf\x8E");
  // A hex escape, then text that would continue it if it were not apart.
  // clang-format off
  EXPECT_EQ(utf8_to_mac_roman_lossy("Łódź"), "?\x97" "dz");
  EXPECT_EQ(utf8_to_mac_roman_lossy("1\u202F500"), "1\xCA" "500");  // narrow no-break space
  // clang-format on
  EXPECT_EQ(utf8_to_mac_roman_lossy("a\u2009b"), "a b");  // thin space
  EXPECT_EQ(utf8_to_mac_roman_lossy("\u22125"), "-5");
  EXPECT_EQ(utf8_to_mac_roman_lossy("日本"), "??");
  EXPECT_EQ(utf8_to_mac_roman_lossy("a\xFFz"), "a?z");
}
