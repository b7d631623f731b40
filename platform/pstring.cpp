// Short-text helpers of the platform's text utilities.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/text.h"
#include "platform/types.h"

void CopyCStringToPascal(const char* src, Str255 dst) {
  std::size_t length = src ? std::strlen(src) : 0;
  if (length > 255) length = 255;
  std::memmove(dst + 1, src, length);
  dst[0] = static_cast<unsigned char>(length);
}

void CopyPascalStringToC(ConstStr255Param src, char* dst) {
  std::size_t length = src[0];
  std::memmove(dst, src + 1, length);
  dst[length] = '\0';
}

char* p2cstrcpy(char* dst, ConstStr255Param src) {
  CopyPascalStringToC(src, dst);
  return dst;
}

void NumToString(long number, Str255 out) {
  char digits[32];
  int length = std::snprintf(digits, sizeof digits, "%ld", number);
  out[0] = static_cast<unsigned char>(length);
  std::memcpy(out + 1, digits, static_cast<std::size_t>(length));
}

short CompareString(ConstStr255Param a, ConstStr255Param b, Handle /*itl2*/) {
  int common = std::min(a[0], b[0]);
  int order = std::memcmp(a + 1, b + 1, static_cast<std::size_t>(common));
  if (order != 0) return order < 0 ? -1 : 1;
  if (a[0] == b[0]) return 0;
  return a[0] < b[0] ? -1 : 1;
}

void BlockMove(const void* src, void* dst, Size count) {
  if (count > 0) std::memmove(dst, src, static_cast<std::size_t>(count));
}

std::string platform::short_text_to_utf8(const unsigned char* short_text) {
  if (short_text == nullptr) return {};
  return mac_roman_to_utf8(
      std::string_view(reinterpret_cast<const char*>(short_text + 1), short_text[0]));
}
