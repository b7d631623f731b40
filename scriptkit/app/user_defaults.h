// A window script's own settings and its window's position: a few named
// values kept in the group "Settings" of a small key file
// (platform/preferences.h), $XDG_CONFIG_HOME/tavrine/defaults (~/.config when
// XDG_CONFIG_HOME is unset or not an absolute path), one value a line in the
// order of their names:
//
//   # tavrine's window settings, written by tavrine
//
//   [Settings]
//   frame of window Main={120, 140, 460, 360}
//   units="Millimetres"
//
// Values are integers, reals, texts in quotes (with \" and \\), true, false,
// and lists of these; the key file doubles each backslash of such a text in
// its line. A file in the one-line-a-value form of earlier versions
// (`"units" = "Millimetres"`) is read, and saved as a key file next time. A
// window script reaches the values as class methods of "UserDefaults" (see
// install_user_defaults_methods).
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "scriptkit/runtime/error.h"
#include "scriptkit/runtime/value.h"

namespace scriptkit::app {

// Keys are matched without regard to case, as a script's record labels and
// names are.
class UserDefaults {
 public:
  UserDefaults() = default;
  explicit UserDefaults(std::filesystem::path file) : m_file(std::move(file)) {}

  // $XDG_CONFIG_HOME/<program>/defaults, or ~/.config/<program>/defaults.
  static std::filesystem::path standard_file(std::string_view program);

  const std::filesystem::path& file() const { return m_file; }
  // Reads the file. A missing file, or anything but a regular file (which
  // is never opened in a way that could block), gives no values; a value
  // that cannot be read is skipped and the others are kept.
  void load();
  // Writes every stored value (not the registered ones), replacing the file
  // in one step (platform/state_files.h); a link keeps its place. False when
  // the folder or the file cannot be written, or when the file (or what its
  // link leads to) is not a regular file, which is never replaced; the first
  // failure says why in one line on standard error.
  bool save() const;

  // The stored value, else the registered one, else missing value.
  Value get(std::string_view key) const;
  // Stores a value; fails with -1700 for a value the file cannot hold
  // (records, window objects) and stores nothing then.
  std::optional<ScriptError> set(std::string_view key, const Value& value);
  void remove(std::string_view key);
  // Values that get() gives for keys that hold nothing; never saved.
  void register_default(std::string_view key, const Value& value);

 private:
  struct KeyLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  std::filesystem::path m_file;
  mutable bool m_said_why = false;
  std::map<std::string, Value, KeyLess> m_values;
  std::map<std::string, Value, KeyLess> m_registered;
};

// The text of a value as the file holds it, and back. Parsing returns nothing
// for a text that is not one whole value.
std::optional<std::string> defaults_value_text(const Value& value);
std::optional<Value> parse_defaults_value(std::string_view text);

// Adds the class "UserDefaults" to the script runtime, backed by `defaults`
// (not owned; it must outlive the scripts that call it):
//   call method "registerDefaults:" of class "UserDefaults" with parameter {units:"Inches"}
//   call method "objectForKey:" of class "UserDefaults" with parameter "units"
//   call method "setObject:forKey:" of class "UserDefaults" with parameters {"Inches", "units"}
//   call method "removeObjectForKey:" of class "UserDefaults" with parameter "units"
// A value set is written to the file at once.
void install_user_defaults_methods(UserDefaults& defaults);

}  // namespace scriptkit::app
