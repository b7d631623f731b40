// Text on the terminal: the C library's character type, and the columns a
// text takes there. Backed by the C library's locale and wcwidth(3).
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Sets the character type from the environment, and to UTF-8 when the
// environment names another: wide characters count two columns only in a
// UTF-8 character type.
void use_utf8_characters();

// The terminal columns a UTF-8 text takes: wide (East Asian) characters take
// two. Bytes that are not UTF-8 count one each.
std::size_t display_width(const std::string& text);

}  // namespace platform
