#include "scriptkit/app/user_defaults.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/places.h"
#include "platform/preferences.h"
#include "platform/state_files.h"

#include "scriptkit/model/coerce.h"
#include "scriptkit/runtime/methods.h"

namespace scriptkit::app {
namespace {

// Lists inside lists, as deep as any setting needs and no deeper, so that a
// damaged file cannot run the reader off the end of the stack.
constexpr int kMaxListDepth = 8;

// A reader of one value, character by character.
class ValueReader {
 public:
  explicit ValueReader(std::string_view s) : m_s(s) {}
  std::optional<Value> whole() {
    auto v = value(0);
    blanks();
    if (!v || m_at != m_s.size()) return std::nullopt;
    return v;
  }
  // text -> '"' { char | '\"' | '\\' } '"'
  std::optional<std::string> text() {
    if (!take('"')) return std::nullopt;
    std::string out;
    while (m_at < m_s.size()) {
      char c = m_s[m_at++];
      if (c == '"') return out;
      if (c == '\\') {
        if (m_at >= m_s.size() || (m_s[m_at] != '"' && m_s[m_at] != '\\')) return std::nullopt;
        c = m_s[m_at++];
      }
      out += c;
    }
    return std::nullopt;
  }
  std::size_t at() const { return m_at; }
  void blanks() {
    while (m_at < m_s.size() && (m_s[m_at] == ' ' || m_s[m_at] == '\t')) ++m_at;
  }
  bool take(char c) {
    blanks();
    if (m_at >= m_s.size() || m_s[m_at] != c) return false;
    ++m_at;
    return true;
  }

 private:
  // value -> text | number | true | false | '{' [value {',' value}] '}'
  std::optional<Value> value(int depth) {
    blanks();
    if (m_at >= m_s.size()) return std::nullopt;
    char c = m_s[m_at];
    if (c == '"') {
      auto t = text();
      return t ? std::optional<Value>(Value(*t)) : std::nullopt;
    }
    if (c == '{') return list(depth);
    if (word("true")) return Value(true);
    if (word("false")) return Value(false);
    return number();
  }
  std::optional<Value> list(int depth) {
    if (depth >= kMaxListDepth) return std::nullopt;
    ++m_at;
    ValueList items;
    if (take('}')) return Value(std::move(items));
    do {
      auto item = value(depth + 1);
      if (!item) return std::nullopt;
      items.push_back(std::move(*item));
    } while (take(','));
    if (!take('}')) return std::nullopt;
    return Value(std::move(items));
  }
  bool word(std::string_view w) {
    if (m_s.substr(m_at, w.size()) != w) return false;
    m_at += w.size();
    return true;
  }
  std::optional<Value> number() {
    std::size_t start = m_at;
    while (m_at < m_s.size() &&
           std::string_view("+-.0123456789eE").find(m_s[m_at]) != std::string_view::npos) {
      ++m_at;
    }
    std::string_view digits = m_s.substr(start, m_at - start);
    if (digits.empty()) return std::nullopt;
    std::int64_t i = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), i);
    if (ec == std::errc() && end == digits.data() + digits.size()) return Value(i);
    double d = 0;
    auto [dend, dec] = std::from_chars(digits.data(), digits.data() + digits.size(), d);
    if (dec == std::errc() && dend == digits.data() + digits.size()) return Value(d);
    return std::nullopt;
  }

  std::string_view m_s;
  std::size_t m_at = 0;
};

// The file's group of settings, and the comment on its first line.
constexpr const char* kGroup = "Settings";
constexpr const char* kComment = "tavrine's window settings, written by tavrine";

// The settings are a few lines; a longer file is not ours.
constexpr std::size_t kMaxFileBytes = 1 << 20;

std::string why_not_saved(OSErr err) {
  if (err == notAFileErr) return "not a regular file";
  if (err == dskFulErr) return "the disk is full";
  return "error " + std::to_string(err);
}

UserDefaults* g_defaults = nullptr;

Result<Value> register_defaults(std::span<const Value> args) {
  if (args.size() != 1 || !args[0].is_record()) {
    return ScriptError{kErrCantMake, "registerDefaults: takes a record of names and values."};
  }
  for (const auto& [key, value] : args[0].as_record()) g_defaults->register_default(key, value);
  return Value();
}

Result<Value> object_for_key(std::span<const Value> args) {
  if (args.size() != 1) return ScriptError{kErrDoesNotUnderstand, "wrong number of parameters"};
  auto key = model::to_text(args[0]);
  if (failed(key)) return std::get<ScriptError>(key);
  return g_defaults->get(std::get<std::string>(key));
}

Result<Value> set_object_for_key(std::span<const Value> args) {
  if (args.size() != 2) return ScriptError{kErrDoesNotUnderstand, "wrong number of parameters"};
  auto key = model::to_text(args[1]);
  if (failed(key)) return std::get<ScriptError>(key);
  if (auto error = g_defaults->set(std::get<std::string>(key), args[0])) return *error;
  g_defaults->save();
  return Value();
}

Result<Value> remove_object_for_key(std::span<const Value> args) {
  if (args.size() != 1) return ScriptError{kErrDoesNotUnderstand, "wrong number of parameters"};
  auto key = model::to_text(args[0]);
  if (failed(key)) return std::get<ScriptError>(key);
  g_defaults->remove(std::get<std::string>(key));
  g_defaults->save();
  return Value();
}

}  // namespace

bool UserDefaults::KeyLess::operator()(std::string_view a, std::string_view b) const {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return lower(x) < lower(y); });
}

std::filesystem::path UserDefaults::standard_file(std::string_view program) {
  std::string base = platform::config_home();
  return std::filesystem::path(base.empty() ? "/.config" : base) / program / "defaults";
}

}  // namespace scriptkit::app

namespace scriptkit::app {
namespace {

// The settings of a file that an older version wrote, one `"key" = value` a
// line, in file order; a line that cannot be read is skipped.
std::vector<std::pair<std::string, Value>> older_lines(std::string_view bytes) {
  std::vector<std::pair<std::string, Value>> values;
  std::string_view rest(bytes);
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    ValueReader reader(line);
    reader.blanks();
    if (reader.at() == line.size() || line[reader.at()] == '#') continue;
    auto key = reader.text();
    if (!key || !reader.take('=')) continue;
    auto value = ValueReader(line.substr(reader.at())).whole();
    if (value) values.emplace_back(std::move(*key), std::move(*value));
  }
  return values;
}

}  // namespace

void UserDefaults::load() {
  m_values.clear();
  std::string bytes;
  if (platform::read_state_file(m_file.string(), kMaxFileBytes, bytes) != noErr) return;
  std::optional<platform::PreferenceEntries> entries = platform::read_preferences(bytes, kGroup);
  if (!entries) {
    // A file of an older version: read once, and saved as a key file next.
    for (auto& [key, value] : older_lines(bytes)) m_values[key] = std::move(value);
    return;
  }
  for (auto& [key, text] : *entries) {
    if (auto value = parse_defaults_value(text)) m_values[key] = std::move(*value);
  }
}

bool UserDefaults::save() const {
  std::error_code ec;
  std::filesystem::create_directories(m_file.parent_path(), ec);
  platform::PreferenceEntries entries;
  for (const auto& [key, value] : m_values) entries.emplace_back(key, *defaults_value_text(value));
  std::string text = platform::preferences_text(kComment, kGroup, entries);
  OSErr err = platform::write_state_file(m_file.string(), text);
  if (err != noErr && !m_said_why) {
    std::fprintf(stderr, "tavrine: the window settings are not saved in %s (%s)\n", m_file.c_str(),
                 why_not_saved(err).c_str());
    m_said_why = true;
  }
  return err == noErr;
}

Value UserDefaults::get(std::string_view key) const {
  if (auto it = m_values.find(key); it != m_values.end()) return it->second;
  if (auto it = m_registered.find(key); it != m_registered.end()) return it->second;
  return Value();
}

std::optional<ScriptError> UserDefaults::set(std::string_view key, const Value& value) {
  if (!defaults_value_text(value)) return model::cant_make(value, "user default");
  m_values.erase(std::string(key));  // the key takes the case it is given now
  m_values[std::string(key)] = value;
  return std::nullopt;
}

void UserDefaults::remove(std::string_view key) {
  if (auto it = m_values.find(key); it != m_values.end()) m_values.erase(it);
}

void UserDefaults::register_default(std::string_view key, const Value& value) {
  m_registered[std::string(key)] = value;
}

std::optional<std::string> defaults_value_text(const Value& value) {
  if (value.is_text()) return model::quoted_text(value.as_text());
  if (value.is_bool()) return std::string(value.as_bool() ? "true" : "false");
  if (value.is_integer()) return std::to_string(value.as_integer());
  if (value.is_real()) return model::format_real(value.as_real());
  if (!value.is_list()) return std::nullopt;
  std::string out = "{";
  for (const Value& item : value.as_list()) {
    auto text = defaults_value_text(item);
    if (!text) return std::nullopt;
    out += (out.size() > 1 ? ", " : "") + *text;
  }
  return out + "}";
}

std::optional<Value> parse_defaults_value(std::string_view text) {
  return ValueReader(text).whole();
}

void install_user_defaults_methods(UserDefaults& defaults) {
  using runtime::Method;
  g_defaults = &defaults;
  static constexpr Method kMethods[] = {
      {"UserDefaults", "registerDefaults:", &register_defaults},
      {"UserDefaults", "objectForKey:", &object_for_key},
      {"UserDefaults", "setObject:forKey:", &set_object_for_key},
      {"UserDefaults", "removeObjectForKey:", &remove_object_for_key},
  };
  runtime::registry().add({kMethods, std::size(kMethods)});
}

}  // namespace scriptkit::app
