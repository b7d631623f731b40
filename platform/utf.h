// Conversions between the Unicode forms the program meets: UTF-8 (its own
// text), UTF-16 (file names handed in as UniChar, the profile descriptions of
// pictures) and UTF-32 (wide characters). Backed by ICU.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Decodes the code point of UTF-8 text at byte `at`; returns the number of
// bytes used, 0 at the end, and U+FFFD with a length of 1 for any byte that
// does not start a whole, shortest, valid sequence.
std::size_t decode_utf8(std::string_view text, std::size_t at, char32_t& code_point);

// Decodes the code point of UTF-16 text at unit `at`; returns the number of
// units used (2 for a surrogate pair), 0 at the end. An unpaired surrogate is
// given as it stands, with a length of 1.
std::size_t decode_utf16(std::u16string_view text, std::size_t at, char32_t& code_point);

// Appends the UTF-8 bytes of a code point.
void append_utf8(std::string& out, char32_t code_point);

// UTF-8 to UTF-16; each byte that decode_utf8 rejects becomes one U+FFFD.
std::u16string utf8_to_utf16(std::string_view utf8);

// UTF-16 to UTF-8. Returns false (and leaves `out` empty) for an unpaired
// surrogate.
bool utf16_to_utf8(std::u16string_view utf16, std::string& out);

// UTF-16 or UTF-32 to UTF-8 that never fails: an unpaired surrogate or a
// value beyond U+10FFFF becomes U+FFFD.
std::string utf16_to_utf8_lossy(std::u16string_view utf16);
std::string utf32_to_utf8_lossy(std::u32string_view utf32);

}  // namespace platform
