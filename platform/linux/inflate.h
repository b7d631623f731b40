// Unpacking a zlib stream (a deflate stream in a two-byte header and a check
// value), for the profiles that PNG files keep compressed. A small reader of
// our own, so that reading a picture's headers needs no compression library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace platform {

// Unpacks `in` into `out`. False (with `out` emptied) when the stream is
// broken or truncated, its check value is wrong, or it would unpack to more
// than `limit` bytes.
bool inflate_zlib(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& out,
                  std::size_t limit);

}  // namespace platform
