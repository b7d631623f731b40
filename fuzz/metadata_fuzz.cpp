// Feeds arbitrary bytes to the picture header readers, as the content of a
// file: every format's reader, the profile unpacking, the version 2
// description reader and lcms2's description. No input may crash, hang or
// read past its bytes. The same bytes are then read as a file (in memory),
// in the small reads a real file gets, and must give the same item.
//
//   make fuzz
//   mkdir -p fuzz-corpus && build-fuzz/fuzz/fuzz_metadata_fuzz fuzz-corpus samples
//
// samples/ seeds the run with one picture of each format.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/linux/picture_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  __MDItem from_memory, from_file;
  bool read = platform::fill_metadata_item(platform::Bytes(data, size), from_memory);
  static int fd = memfd_create("picture", MFD_CLOEXEC);
  if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
    return 0;
  platform::ByteSource file(fd, size);
  if (platform::fill_metadata_item(file, from_file) != read ||
      (read && (from_file.pixel_width != from_memory.pixel_width ||
                from_file.pixel_height != from_memory.pixel_height ||
                from_file.profile_name != from_memory.profile_name)))
    std::abort();  // the two ways of reading disagree
  return 0;
}
