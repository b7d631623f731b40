// A Scribus document as the links report reads it: any bytes give either
// pictures with absolute paths (or embedded ones, without), or one line of
// error and no pictures.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "links/placed_pictures.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<links::PlacedPicture> pictures;
  std::string error;
  bool read = links::read_placed_pictures(bytes, "/work/job", pictures, error);
  if (read != error.empty()) __builtin_trap();
  if (!read && (!pictures.empty() || error.find('\n') != std::string::npos)) __builtin_trap();
  for (const links::PlacedPicture& picture : pictures) {
    if (picture.embedded != picture.path.empty()) __builtin_trap();
    if (!picture.embedded && picture.path.front() != '/') __builtin_trap();
    links::place_label(picture);
  }
  return 0;
}
