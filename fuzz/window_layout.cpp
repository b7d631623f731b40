// The window layout reader on arbitrary text: it either builds windows or
// names a line, and never reads past its input.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scriptkit/app/layout.h"
#include "scriptkit/app/window_text.h"
#include "scriptkit/model/model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  scriptkit::model::Application app;
  if (auto error = scriptkit::app::load_layout(text, app)) {
    if (error->line < 1) __builtin_trap();
    return 0;
  }
  for (const auto& child : app.children()) {
    scriptkit::app::window_text(static_cast<const scriptkit::model::Window&>(*child));
  }
  return 0;
}
