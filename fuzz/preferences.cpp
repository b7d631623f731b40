// A preferences file as it comes from the disk: whatever it holds, reading it
// and writing what was read gives a file that reads back to the same entries.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/preferences.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto entries = platform::read_preferences(bytes, "Settings");
  if (!entries) return 0;
  std::string written = platform::preferences_text("settings", "Settings", *entries);
  auto again = platform::read_preferences(written, "Settings");
  if (!again) __builtin_trap();
  if (platform::preferences_text("settings", "Settings", *again) != written) __builtin_trap();
  return 0;
}
