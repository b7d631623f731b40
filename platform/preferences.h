// A small store of named texts in a key file: "# comment", a "[group]" line,
// then one "name=text" line a setting, as desktop programs keep their
// settings. Backed by GLib's GKeyFile. Names may hold any character: those
// the format cannot hold in a name ("=", "[", "]", "%", line breaks, other
// control characters, and a leading "#" or a space at either end) stand in
// the file as "%" and two hexadecimal digits, as do the bytes of a name that
// is not UTF-8. Texts are UTF-8: a byte of a text that is not becomes U+FFFD.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

using PreferenceEntries = std::vector<std::pair<std::string, std::string>>;

// The names and texts of `group` in the key file `bytes`, in file order; none
// when the file has no such group. Nothing when `bytes` is not a key file.
std::optional<PreferenceEntries> read_preferences(std::string_view bytes, std::string_view group);

// The key file that holds `entries` in `group`, under a first line "# "
// followed by `comment`.
std::string preferences_text(std::string_view comment, std::string_view group,
                             const PreferenceEntries& entries);

}  // namespace platform
