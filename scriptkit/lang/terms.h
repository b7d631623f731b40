// The words the parser knows beyond its keywords: the classes and properties
// of the window model and of the language itself, their plurals, the
// constants (`return`, `tab`, `pi`) and the ordinals (`first` … `tenth`).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scriptkit/runtime/value.h"

namespace scriptkit::lang {

struct Terms {
  std::vector<std::string_view> classes;     // singular
  std::vector<std::string_view> plurals;     // "menu items", "boxes"
  std::vector<std::string_view> properties;  // "current menu item"
 private:
  friend const Terms& terms();
  std::vector<std::string> m_plural_storage;
};

const Terms& terms();
// "menu items" -> "menu item".
std::string singular(std::string_view plural);
// True for `return`, `linefeed`, `tab`, `space`, `quote`, `pi`, `true`,
// `false`, setting `value`.
bool language_constant(std::string_view word, Value& value);
// 1 for "first" … 10 for "tenth", -1 for "last", 0 for any other word.
int ordinal_index(std::string_view word);

}  // namespace scriptkit::lang
