#include "platform/utf.h"

#include <gtest/gtest.h>

#include <string>

using namespace platform;

namespace {

// Every code point decode_utf8 reads from a text, and the bytes each used.
std::u32string decoded(std::string_view text, std::string* lengths = nullptr) {
  std::u32string out;
  char32_t c = 0;
  for (std::size_t at = 0, n = 0; (n = decode_utf8(text, at, c)) != 0; at += n) {
    out += c;
    if (lengths) *lengths += static_cast<char>('0' + n);
  }
  return out;
}

}  // namespace

TEST(Utf8, DecodesEveryLengthAndEncodesItBack) {
  std::string lengths;
  EXPECT_EQ(decoded("a\u00E9\u20AC\U0001F600", &lengths), U"a\u00E9\u20AC\U0001F600");
  EXPECT_EQ(lengths, "1234");
  std::string out;
  for (char32_t c : U"a\u00E9\u20AC\U0001F600") append_utf8(out, c);
  EXPECT_EQ(out, std::string("a\u00E9\u20AC\U0001F600", 10) + '\0');
}

TEST(Utf8, EachByteOfABadSequenceIsOneReplacement) {
  std::string lengths;
  EXPECT_EQ(decoded("\xFF", &lengths), U"\uFFFD");
  EXPECT_EQ(decoded("\xE2\x82z", &lengths), U"\uFFFD\uFFFDz");          // cut short
  EXPECT_EQ(decoded("\xC0\xAF"), U"\uFFFD\uFFFD");                      // overlong
  EXPECT_EQ(decoded("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");            // a surrogate
  EXPECT_EQ(decoded("\xF4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");  // past U+10FFFF
  EXPECT_EQ(lengths, "1111");
  EXPECT_EQ(utf8_to_utf16("\xE2\x82\U0001F600"), u"\uFFFD\uFFFD\U0001F600");
}

TEST(Utf16, StrictConversionRejectsUnpairedSurrogates) {
  std::string out = "old";
  ASSERT_TRUE(utf16_to_utf8(u"Caf\u00E9 \U0001F600", out));
  EXPECT_EQ(out, "Caf\u00E9 \U0001F600");
  EXPECT_TRUE(utf16_to_utf8(u"", out));
  EXPECT_EQ(out, "");
  for (std::u16string bad :
       {std::u16string(u"a") + char16_t(0xD800), std::u16string(1, char16_t(0xDC00)) + u"a"}) {
    out = "old";
    EXPECT_FALSE(utf16_to_utf8(bad, out));
    EXPECT_EQ(out, "");
  }
}

TEST(Utf16, LossyConversionsReplaceWhatHasNoForm) {
  EXPECT_EQ(utf16_to_utf8_lossy(std::u16string(u"a") + char16_t(0xDC00) + u"b"), "a\uFFFDb");
  EXPECT_EQ(utf32_to_utf8_lossy(std::u32string(U"a") + char32_t(0x110000) + char32_t(0xD800)),
            "a\uFFFD\uFFFD");
  EXPECT_EQ(utf32_to_utf8_lossy(U"\u00C9cran \U0001F600"), "\u00C9cran \U0001F600");
}

TEST(Utf16, DecodesPairsAndGivesLoneSurrogatesAsTheyStand) {
  char32_t c = 0;
  std::u16string text = u"\U0001F600";
  EXPECT_EQ(decode_utf16(text, 0, c), 2u);
  EXPECT_EQ(c, U'\U0001F600');
  EXPECT_EQ(decode_utf16(std::u16string_view(text).substr(0, 1), 0, c), 1u);
  EXPECT_EQ(c, char32_t(0xD83D));
  EXPECT_EQ(decode_utf16(text, 2, c), 0u);
}
