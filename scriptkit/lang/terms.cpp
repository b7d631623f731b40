#include "scriptkit/lang/terms.h"

#include "scriptkit/model/vocabulary.h"

namespace scriptkit::lang {
namespace {

constexpr std::string_view kLanguageClasses[] = {"item", "character", "word", "paragraph"};
constexpr std::string_view kLanguageProperties[] = {"length", "rest", "reverse"};
constexpr std::string_view kOrdinals[] = {"first", "second",  "third",  "fourth", "fifth",
                                          "sixth", "seventh", "eighth", "ninth",  "tenth"};

}  // namespace

const Terms& terms() {
  static const Terms table = [] {
    Terms t;
    for (auto c : model::class_names()) t.classes.push_back(c);
    for (auto c : kLanguageClasses) t.classes.push_back(c);
    t.m_plural_storage.reserve(t.classes.size());
    for (auto c : t.classes)
      t.m_plural_storage.push_back(std::string(c) + (c == "box" ? "es" : "s"));
    for (const auto& p : t.m_plural_storage) t.plurals.push_back(p);
    for (auto p : model::property_names()) t.properties.push_back(p);
    for (auto p : kLanguageProperties) t.properties.push_back(p);
    return t;
  }();
  return table;
}

std::string singular(std::string_view plural) {
  if (plural == "boxes") return "box";
  return std::string(plural.substr(0, plural.size() - 1));
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
