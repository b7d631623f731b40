// The user's locale as the environment gives it, for the ICU-backed services.
#pragma once

#include <string>

namespace platform {

// The POSIX locale name for one category: LC_ALL, then the category's own
// variable (for example "LC_NUMERIC"), then LANG; the first that is set and
// not empty. Empty when none is. Read afresh at each call.
std::string environment_locale(const char* category_variable);

// The ICU locale ID of a POSIX locale name: "de_DE.UTF-8@euro" gives "de_DE".
// An empty name, "C" and "POSIX" (and a name ICU cannot read) give
// "en_US_POSIX": a full stop before the decimals and no grouping, as the C
// library writes numbers.
std::string icu_locale_id(const std::string& posix_name);

}  // namespace platform
