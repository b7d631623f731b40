// Mac Roman text, the program's own 8-bit encoding, and its conversion to and
// from Unicode (UTF-8). Backed by a table of all 256 byte values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The Unicode code point of a Mac Roman byte.
char32_t mac_roman_to_unicode(unsigned char byte);

// The Mac Roman byte of a code point, or -1 when it has none.
int unicode_to_mac_roman(char32_t code_point);

// Mac Roman bytes to UTF-8. Every byte has a form, so this never fails.
std::string mac_roman_to_utf8(std::string_view mac_roman);
// A short text (its length byte, then that many Mac Roman bytes) in UTF-8;
// empty for nullptr.
std::string short_text_to_utf8(const unsigned char* short_text);

// UTF-8 to Mac Roman. Returns false (and leaves `out` empty) when a character
// has no Mac Roman form or the input is not valid UTF-8.
bool utf8_to_mac_roman_exact(std::string_view utf8, std::string& out);

// UTF-8 to Mac Roman that never fails: a character without a Mac Roman form
// becomes its nearest one (the letter without its accent, a plain space for
// the other spaces, straight quotes for the other quotes), and "?" when there
// is none. Invalid UTF-8 bytes become "?".
std::string utf8_to_mac_roman_lossy(std::string_view utf8);

// True when every character of a UTF-8 text has a Mac Roman form, its own or
// the nearest one, so that utf8_to_mac_roman_lossy writes it without a "?"
// of its own making. False for invalid UTF-8.
bool has_mac_roman_form(std::string_view utf8);

// Latin letters for a text in another script, by ICU's transliterator
// ("Any-Latin; Latin-ASCII"): "Просмотр изображений" gives "Prosmotr
// izobrazenij". The text unchanged when the transliterator is missing.
std::string latin_transliteration(std::string_view utf8);

}  // namespace platform
