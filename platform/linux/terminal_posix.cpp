#include "platform/terminal.h"

#include <langinfo.h>

#include <clocale>
#include <cwchar>
#include <string_view>

namespace platform {

void use_utf8_characters() {
  std::setlocale(LC_CTYPE, "");
  if (std::string_view(nl_langinfo(CODESET)) != "UTF-8") std::setlocale(LC_CTYPE, "C.UTF-8");
}

std::size_t display_width(const std::string& text) {
  std::mbstate_t state{};
  std::size_t width = 0;
  const char* at = text.data();
  const char* end = at + text.size();
  while (at < end) {
    wchar_t c = 0;
    std::size_t length = std::mbrtowc(&c, at, static_cast<std::size_t>(end - at), &state);
    if (length == 0 || length > static_cast<std::size_t>(end - at)) {
      state = {};
      length = 1;
      width += 1;
    } else {
      int columns = wcwidth(c);
      width += columns < 0 ? 1 : static_cast<std::size_t>(columns);
    }
    at += length;
  }
  return width;
}

}  // namespace platform
