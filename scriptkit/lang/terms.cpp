#include "scriptkit/lang/terms.h"

#include <algorithm>

#include "scriptkit/model/names.h"
#include "scriptkit/model/vocabulary.h"

namespace scriptkit::lang {
namespace {

constexpr std::string_view kLanguageClasses[] = {"item",      "character", "word",
                                                 "paragraph", "text",      "text item"};
constexpr std::string_view kLanguageProperties[] = {"length", "rest", "reverse",
                                                    "text item delimiters"};
constexpr std::string_view kOrdinals[] = {"first", "second",  "third",  "fourth", "fifth",
                                          "sixth", "seventh", "eighth", "ninth",  "tenth"};

}  // namespace

PhraseTable::PhraseTable(std::span<const std::string_view> phrases) {
  for (std::string_view phrase : phrases) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start <= phrase.size();) {
      std::size_t space = std::min(phrase.find(' ', start), phrase.size());
      words.push_back(phrase.substr(start, space - start));
      start = space + 1;
    }
    m_by_first[words.front()].push_back(std::move(words));
  }
}

std::size_t PhraseTable::longest(const std::vector<Token>& tokens, std::size_t at) const {
  if (at >= tokens.size() || tokens[at].kind != TokenKind::Word) return 0;
  auto it = m_by_first.find(tokens[at].text);
  if (it == m_by_first.end()) return 0;
  std::size_t best = 0;
  for (const auto& words : it->second) {
    if (words.size() <= best || at + words.size() > tokens.size()) continue;
    bool match = true;
    for (std::size_t i = 1; match && i < words.size(); ++i) {
      match = tokens[at + i].kind == TokenKind::Word && tokens[at + i].text == words[i];
    }
    if (match) best = words.size();
  }
  return best;
}

const Terms& terms() {
  static const Terms table = [] {
    Terms t;
    std::vector<std::string_view> classes, plurals, properties;
    for (auto c : model::class_names()) classes.push_back(c);
    for (auto c : kLanguageClasses) classes.push_back(c);
    t.m_plural_storage.reserve(classes.size());
    for (auto c : classes) t.m_plural_storage.push_back(plural_of(c));
    for (const auto& p : t.m_plural_storage) plurals.push_back(p);
    for (auto p : model::property_names()) properties.push_back(p);
    for (auto p : kLanguageProperties) properties.push_back(p);
    t.classes = PhraseTable(classes);
    t.plurals = PhraseTable(plurals);
    t.properties = PhraseTable(properties);
    for (const auto* list : {&classes, &plurals, &properties}) {
      for (std::string_view phrase : *list)
        t.m_first_words.insert(phrase.substr(0, phrase.find(' ')));
    }
    return t;
  }();
  return table;
}

std::string singular(std::string_view plural) {
  if (plural == plural_of(model::cls::kBox)) return std::string(model::cls::kBox);
  return std::string(plural.substr(0, plural.size() - 1));
}

std::string plural_of(std::string_view cls) {
  return std::string(cls) + (cls == model::cls::kBox ? "es" : "s");
}

bool language_constant(std::string_view word, Value& value) {
  if (word == "true")
    value = Value(true);
  else if (word == "false")
    value = Value(false);
  else if (word == "return")
    value = Value("\r");
  else if (word == "linefeed")
    value = Value("\n");
  else if (word == "tab")
    value = Value("\t");
  else if (word == "space")
    value = Value(" ");
  else if (word == "quote")
    value = Value("\"");
  else if (word == "pi")
    value = Value(3.14159265358979323846);
  else
    return false;
  return true;
}

int ordinal_index(std::string_view word) {
  if (word == "last") return -1;
  for (int i = 0; i < 10; ++i) {
    if (kOrdinals[i] == word) return i + 1;
  }
  return 0;
}

}  // namespace scriptkit::lang
