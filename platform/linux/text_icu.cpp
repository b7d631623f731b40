#include "platform/text.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <array>
#include <memory>

#include "platform/utf.h"

namespace platform {
namespace {

// Code points of the Mac Roman bytes 0x80 to 0xFF (0x00 to 0x7F are ASCII).
constexpr std::array<char16_t, 128> kHighHalf = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,  // 80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,  // 88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,  // 90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,  // 98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,  // A0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,  // A8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,  // B0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,  // B8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,  // C0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,  // C8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,  // D0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,  // D8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,  // E0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,  // E8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,  // F0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,  // F8
};

// Nearest Mac Roman byte for a character without one of its own, or -1.
int nearest_mac_roman(char32_t c) {
  if (c == 0x202F || c == 0x2007) return 0xCA;  // narrow and figure no-break spaces
  if (u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_WHITE_SPACE)) return ' ';
  if (c == 0x2212 || u_charType(static_cast<UChar32>(c)) == U_DASH_PUNCTUATION) return '-';
  if (c == 0x2032 || c == 0x201B) return '\'';
  if (c == 0x2033 || c == 0x201F) return '"';
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkd = icu::Normalizer2::getNFKDInstance(status);
  if (U_FAILURE(status)) return -1;
  icu::UnicodeString decomposed;
  if (!nfkd->getDecomposition(static_cast<UChar32>(c), decomposed) || decomposed.isEmpty())
    return -1;
  // The first character of the compatibility decomposition is the base
  // letter (ā gives a, ǆ gives d).
  return unicode_to_mac_roman(static_cast<char32_t>(decomposed.char32At(0)));
}

}  // namespace

char32_t mac_roman_to_unicode(unsigned char byte) {
  return byte < 0x80 ? byte : kHighHalf[byte - 0x80];
}

int unicode_to_mac_roman(char32_t code_point) {
  if (code_point < 0x80) return static_cast<int>(code_point);
  for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
    if (kHighHalf[i] == code_point) return static_cast<int>(0x80 + i);
  }
  return -1;
}

std::string mac_roman_to_utf8(std::string_view mac_roman) {
  std::string out;
  out.reserve(mac_roman.size() * 2);
  for (unsigned char byte : mac_roman) append_utf8(out, mac_roman_to_unicode(byte));
  return out;
}

bool utf8_to_mac_roman_exact(std::string_view utf8, std::string& out) {
  out.clear();
  std::string result;
  char32_t c = 0;
  for (std::size_t at = 0, n = 0; (n = decode_utf8(utf8, at, c)) != 0; at += n) {
    int byte = (c == 0xFFFD) ? -1 : unicode_to_mac_roman(c);
    if (byte < 0) return false;
    result += static_cast<char>(byte);
  }
  out = std::move(result);
  return true;
}

std::string utf8_to_mac_roman_lossy(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  char32_t c = 0;
  for (std::size_t at = 0, n = 0; (n = decode_utf8(utf8, at, c)) != 0; at += n) {
    int byte = unicode_to_mac_roman(c);
    if (byte < 0 && c != 0xFFFD) byte = nearest_mac_roman(c);
    out += static_cast<char>(byte < 0 ? '?' : byte);
  }
  return out;
}

bool has_mac_roman_form(std::string_view utf8) {
  char32_t c = 0;
  for (std::size_t at = 0, n = 0; (n = decode_utf8(utf8, at, c)) != 0; at += n) {
    if (c == 0xFFFD || (unicode_to_mac_roman(c) < 0 && nearest_mac_roman(c) < 0)) return false;
  }
  return true;
}

std::string latin_transliteration(std::string_view utf8) {
  // Made once: building the rules costs far more than using them.
  static const std::unique_ptr<icu::Transliterator> to_latin = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> made(
        icu::Transliterator::createInstance("Any-Latin; Latin-ASCII", UTRANS_FORWARD, status));
    return U_SUCCESS(status) ? std::move(made) : nullptr;
  }();
  if (!to_latin) return std::string(utf8);
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  to_latin->transliterate(text);
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace platform
