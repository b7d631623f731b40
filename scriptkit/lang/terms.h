// The words the parser knows beyond its keywords: the classes and properties
// of the window model and of the language itself, their plurals, the
// constants (`return`, `tab`, `pi`) and the ordinals (`first` … `tenth`).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "scriptkit/lang/lexer.h"
#include "scriptkit/runtime/value.h"

namespace scriptkit::lang {

// Phrases of one or more words, found by their first word. The phrases'
// text must outlive the table.
class PhraseTable {
 public:
  PhraseTable() = default;
  explicit PhraseTable(std::span<const std::string_view> phrases);
  // The number of words of the longest phrase that begins at tokens[at].
  std::size_t longest(const std::vector<Token>& tokens, std::size_t at) const;
  // True when some phrase begins with this word.
  bool starts(std::string_view word) const { return m_by_first.count(word) != 0; }

 private:
  std::unordered_map<std::string_view, std::vector<std::vector<std::string_view>>> m_by_first;
};

struct Terms {
  PhraseTable classes;     // singular
  PhraseTable plurals;     // "menu items", "boxes"
  PhraseTable properties;  // "current menu item"
  // True when a phrase of any of the three tables begins with this word: one
  // look-up that turns away the many words that are variables.
  bool starts_any(std::string_view word) const { return m_first_words.count(word) != 0; }

 private:
  std::unordered_set<std::string_view> m_first_words;
  friend const Terms& terms();
  std::vector<std::string> m_plural_storage;
};

const Terms& terms();
// "menu items" -> "menu item".
std::string singular(std::string_view plural);
// "menu item" -> "menu items", "box" -> "boxes".
std::string plural_of(std::string_view cls);
// True for `return`, `linefeed`, `tab`, `space`, `quote`, `pi`, `true`,
// `false`, setting `value`.
bool language_constant(std::string_view word, Value& value);
// 1 for "first" … 10 for "tenth", -1 for "last", 0 for any other word.
int ordinal_index(std::string_view word);

}  // namespace scriptkit::lang
