// Feeds arbitrary bytes to the picture header readers, as the content of a
// file: every format's reader, the profile unpacking and lcms2's description.
// No input may crash, hang or read past its bytes.
//
//   make fuzz
//   mkdir -p fuzz-corpus && build-fuzz/fuzz/fuzz_metadata_fuzz fuzz-corpus samples
//
// samples/ seeds the run with one picture of each format.
#include <cstddef>
#include <cstdint>

#include "platform/linux/picture_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  __MDItem item;
  platform::fill_metadata_item(platform::Bytes(data, size), item);
  return 0;
}
