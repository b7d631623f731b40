#include "platform/linux/environment_locale.h"

#include <unicode/locid.h>

#include <cstdlib>

namespace platform {

std::string environment_locale(const char* category_variable) {
  for (const char* name : {"LC_ALL", category_variable, "LANG"}) {
    const char* value = name ? std::getenv(name) : nullptr;
    if (value && *value) return value;
  }
  return {};
}

std::string icu_locale_id(const std::string& posix_name) {
  static const std::string kPosix = "en_US_POSIX";
  // The code set and the modifier say nothing about how numbers are written.
  std::string name = posix_name.substr(0, posix_name.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX") return kPosix;
  icu::Locale locale(name.c_str());
  if (locale.isBogus() || *locale.getLanguage() == '\0') return kPosix;
  return locale.getName();
}

}  // namespace platform
