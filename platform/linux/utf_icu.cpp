// The Unicode conversions of platform/utf.h, on ICU's UTF macros and string
// calls.
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>

#include "platform/utf.h"

namespace platform {
namespace {

constexpr UChar32 kReplacement = 0xFFFD;

// ICU counts in 32-bit signed lengths.
std::int32_t length_of(std::size_t size) {
  return static_cast<std::int32_t>(size);
}

}  // namespace

std::size_t decode_utf8(std::string_view text, std::size_t at, char32_t& code_point) {
  if (at >= text.size()) return 0;
  std::int32_t next = length_of(at);
  UChar32 c = 0;
  U8_NEXT(reinterpret_cast<const std::uint8_t*>(text.data()), next, length_of(text.size()), c);
  code_point = c < 0 ? kReplacement : static_cast<char32_t>(c);
  return c < 0 ? 1 : static_cast<std::size_t>(next) - at;
}

std::size_t decode_utf16(std::u16string_view text, std::size_t at, char32_t& code_point) {
  if (at >= text.size()) return 0;
  std::size_t next = at;
  UChar32 c = 0;
  U16_NEXT(text.data(), next, text.size(), c);
  code_point = static_cast<char32_t>(c);
  return next - at;
}

void append_utf8(std::string& out, char32_t code_point) {
  std::uint8_t bytes[U8_MAX_LENGTH];
  std::int32_t length = 0;
  U8_APPEND_UNSAFE(bytes, length, static_cast<UChar32>(code_point));
  out.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
}

std::u16string utf8_to_utf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  char32_t c = 0;
  for (std::size_t at = 0, n = 0; (n = decode_utf8(utf8, at, c)) != 0; at += n) {
    char16_t units[U16_MAX_LENGTH];
    std::int32_t length = 0;
    U16_APPEND_UNSAFE(units, length, static_cast<UChar32>(c));
    out.append(units, static_cast<std::size_t>(length));
  }
  return out;
}

bool utf16_to_utf8(std::u16string_view utf16, std::string& out) {
  out.clear();
  std::int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8(nullptr, 0, &length, utf16.data(), length_of(utf16.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
  std::string result(static_cast<std::size_t>(length), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8(result.data(), length, &length, utf16.data(), length_of(utf16.size()), &status);
  if (U_FAILURE(status)) return false;
  out = std::move(result);
  return true;
}

std::string utf16_to_utf8_lossy(std::u16string_view utf16) {
  std::string out(utf16.size() * 3, '\0');
  std::int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), length_of(out.size()), &length, utf16.data(),
                     length_of(utf16.size()), kReplacement, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
  return out;
}

std::string utf32_to_utf8_lossy(std::u32string_view utf32) {
  std::u16string utf16(utf32.size() * 2, u'\0');
  std::int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF32WithSub(utf16.data(), length_of(utf16.size()), &length,
                        reinterpret_cast<const UChar32*>(utf32.data()), length_of(utf32.size()),
                        kReplacement, nullptr, &status);
  utf16.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
  return utf16_to_utf8_lossy(utf16);
}

}  // namespace platform
