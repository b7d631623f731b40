// Alias records arrive inside descriptors; whatever their bytes, reading one
// stays inside them and anything it accepts encodes back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/aliases.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto target = platform::decode_alias(std::span(data, size));
  if (!target) return 0;
  auto again = platform::encode_alias(*target);
  if (again.size() != size) std::abort();
  for (std::size_t i = 0; i < size; ++i) {
    // The user type is not kept; every other byte is.
    if (i >= 4 && again[i] != data[i]) std::abort();
  }
  return 0;
}
