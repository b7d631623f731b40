#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "platform/serialise.h"
#include "platform/types.h"
#include "tests/support/packed.h"

using testing_support::packed;

namespace {

void SetName(FSSpec& spec, const char* name) {
  CopyCStringToPascal(name, spec.name);
}

}  // namespace

TEST(FSSpecLayout, EncodesLittleEndianFieldByField) {
  FSSpec spec{};
  spec.vRefNum = -2;
  spec.parID = 0x01020304;
  SetName(spec, "pic.tif");
  std::array<std::uint8_t, 70> bytes{};
  platform::encode_fsspec(spec, bytes);
  EXPECT_EQ(bytes[0], 0xFE);
  EXPECT_EQ(bytes[1], 0xFF);
  EXPECT_EQ(bytes[2], 0x04);
  EXPECT_EQ(bytes[5], 0x01);
  EXPECT_EQ(bytes[6], 7);
  EXPECT_EQ(std::memcmp(&bytes[7], "pic.tif", 7), 0);
  FSSpec back = platform::decode_fsspec(bytes);
  EXPECT_EQ(back.vRefNum, -2);
  EXPECT_EQ(packed(back.parID), 0x01020304);
  EXPECT_EQ(std::memcmp(back.name, spec.name, 64), 0);
}

TEST(FInfoLayout, StoresFourCharCodesWithTheFirstCharacterLast) {
  FInfo info{};
  info.fdType = FOUR_CHAR_CODE("APPL");
  info.fdCreator = FOUR_CHAR_CODE("8BIM");
  info.fdFlags = 0x8001;
  info.fdLocation = {-1, 2};
  info.fdFldr = -3;
  std::array<std::uint8_t, 16> bytes{};
  platform::encode_finfo(info, bytes);
  const std::uint8_t expected[16] = {'L',  'P',  'P',  'A',  'M',  'I',  'B',  '8',
                                     0x01, 0x80, 0xFF, 0xFF, 0x02, 0x00, 0xFD, 0xFF};
  EXPECT_EQ(std::memcmp(bytes.data(), expected, 16), 0);
  FInfo back = platform::decode_finfo(bytes);
  EXPECT_EQ(packed(back.fdType), packed(info.fdType));
  EXPECT_EQ(packed(back.fdCreator), packed(info.fdCreator));
  EXPECT_EQ(back.fdFlags, 0x8001);
  EXPECT_EQ(back.fdLocation.v, -1);
  EXPECT_EQ(back.fdLocation.h, 2);
  EXPECT_EQ(back.fdFldr, -3);
}

TEST(ShortText, CopiesAndCutsAt255) {
  std::string long_text(300, 'x');
  Str255 text;
  CopyCStringToPascal(long_text.c_str(), text);
  EXPECT_EQ(text[0], 255);
  char c[256];
  CopyPascalStringToC(text, c);
  EXPECT_EQ(std::strlen(c), 255u);
  CopyCStringToPascal("", text);
  EXPECT_EQ(text[0], 0);
}

TEST(ShortText, NumToStringWritesSignAndDigits) {
  Str255 text;
  char c[256];
  NumToString(0, text);
  EXPECT_STREQ(p2cstrcpy(c, text), "0");
  NumToString(-3, text);
  EXPECT_STREQ(p2cstrcpy(c, text), "-3");
  NumToString(2147483647, text);
  EXPECT_STREQ(p2cstrcpy(c, text), "2147483647");
}

TEST(ShortText, P2cstrcpyWorksInPlace) {
  Str255 text;
  CopyCStringToPascal("Main", text);
  char* c = p2cstrcpy(reinterpret_cast<char*>(text), text);
  EXPECT_STREQ(c, "Main");
}

TEST(ShortText, CompareStringIsExactAndOrdered) {
  Str255 a, b;
  CopyCStringToPascal("GIMP", a);
  CopyCStringToPascal("GIMP", b);
  EXPECT_EQ(CompareString(a, b, nullptr), 0);
  CopyCStringToPascal("gimp", b);
  EXPECT_NE(CompareString(a, b, nullptr), 0);
  CopyCStringToPascal("GIMPX", b);
  EXPECT_LT(CompareString(a, b, nullptr), 0);
  EXPECT_GT(CompareString(b, a, nullptr), 0);
}

TEST(ShortText, LiteralsCarryTheirLength) {
  constexpr PascalLiteral kWindow("Main");
  ConstStr255Param text = kWindow;
  EXPECT_EQ(text[0], 4);
  EXPECT_EQ(std::memcmp(text + 1, "Main", 4), 0);
  EXPECT_EQ(PSTR("Other\xC9").text[6], 0xC9);
  EXPECT_EQ(PSTR("").text[0], 0);
}
