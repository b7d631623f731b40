// A user-defaults value as the file holds it: whatever reads back writes the
// same value again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scriptkit/app/user_defaults.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto value = scriptkit::app::parse_defaults_value(text);
  if (!value) return 0;
  auto written = scriptkit::app::defaults_value_text(*value);
  if (!written) __builtin_trap();
  auto again = scriptkit::app::parse_defaults_value(*written);
  if (!again || scriptkit::app::defaults_value_text(*again) != written) __builtin_trap();
  return 0;
}
