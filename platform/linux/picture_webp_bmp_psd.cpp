// WebP, BMP and PSD headers. exiv2 reads a WebP's whole image chunk, and does
// not give the profile of a BMP or a PSD, so these are read here.
#include "platform/linux/picture_reader.h"

namespace platform {
namespace {

// Chunk payloads are padded to an even length.
std::uint64_t padded(std::uint64_t size) {
  return size + (size & 1);
}

// Reads the size of a VP8 (lossy) or VP8L (lossless) image chunk.
void read_vp8_size(ByteReader& r, std::uint64_t data_at, bool lossless, PictureFacts& facts) {
  if (lossless) {
    if (r.u8(data_at) != 0x2F) return;
    std::uint32_t bits = ByteReader(r.slice(data_at + 1, 4), false).u32(0);
    facts.width = (bits & 0x3FFF) + 1;
    facts.height = ((bits >> 14) & 0x3FFF) + 1;
    return;
  }
  // A key frame: three bytes of frame tag, the start code, then the sizes.
  if (!r.matches(data_at + 3, "\x9D\x01\x2A")) return;
  ByteReader sizes(r.slice(data_at + 6, 4), false);
  facts.width = sizes.u16(0) & 0x3FFF;
  facts.height = sizes.u16(2) & 0x3FFF;
}

}  // namespace

bool read_webp_facts(ByteSource& file, PictureFacts& facts) {
  ByteReader r(file, false);
  if (!r.matches(0, "RIFF") || !r.matches(8, "WEBP")) return false;
  bool extended = false;
  // The canvas and the profile come before the image data.
  for (std::uint64_t at = 12; r.has(at, 8);) {
    std::uint32_t size = r.u32(at + 4);
    std::uint64_t data_at = at + 8;
    if (!r.has(data_at, size)) break;
    if (r.matches(at, "VP8X") && size >= 10) {
      extended = true;
      facts.width = r.u24(data_at + 4) + 1;
      facts.height = r.u24(data_at + 7) + 1;
    } else if (r.matches(at, "ICCP") && facts.icc.empty() && size <= kMaxProfileBytes) {
      facts.icc = r.slice(data_at, size);
    } else if (r.matches(at, "VP8 ") || r.matches(at, "VP8L")) {
      if (!extended) read_vp8_size(r, data_at, r.matches(at, "VP8L"), facts);
      break;
    } else if (r.matches(at, "ANIM") || r.matches(at, "ALPH")) {
      break;
    }
    at = data_at + padded(size);
  }
  return extended || facts.width != 0;
}

bool read_bmp_facts(ByteSource& file, PictureFacts& facts) {
  constexpr std::uint64_t kInfoAt = 14;  // the information header follows the file header
  constexpr std::uint32_t kCoreHeader = 12, kV5Header = 124;
  constexpr std::uint32_t kEmbeddedProfile = 0x4D424544;  // 'MBED'
  ByteReader r(file, false);
  if (!r.matches(0, "BM")) return false;
  std::uint32_t header_size = r.u32(kInfoAt);
  if (!r.ok() || header_size < kCoreHeader || !r.has(kInfoAt, header_size)) return false;
  if (header_size == kCoreHeader) {
    facts.width = r.u16(kInfoAt + 4);
    facts.height = r.u16(kInfoAt + 6);
    return true;
  }
  if (header_size < 16) return false;
  // A negative height is a picture stored top row first.
  auto magnitude = [](std::uint32_t v) {
    auto s = static_cast<std::int32_t>(v);
    return s == INT32_MIN ? 0u : static_cast<std::uint32_t>(s < 0 ? -s : s);
  };
  facts.width = magnitude(r.u32(kInfoAt + 4));
  facts.height = magnitude(r.u32(kInfoAt + 8));
  if (header_size >= kV5Header && r.u32(kInfoAt + 56) == kEmbeddedProfile) {
    // The profile's offset counts from the start of the information header.
    std::uint64_t at = kInfoAt + static_cast<std::uint64_t>(r.u32(kInfoAt + 112));
    std::uint32_t size = r.u32(kInfoAt + 116);
    if (size <= kMaxProfileBytes && r.has(at, size)) facts.icc = r.slice(at, size);
  }
  return true;
}

bool read_psd_facts(ByteSource& file, PictureFacts& facts) {
  constexpr std::uint16_t kIccResource = 0x040F;
  ByteReader r(file, true);
  if (!r.matches(0, "8BPS")) return false;
  std::uint16_t version = r.u16(4);  // 1 for PSD, 2 for the large format
  facts.height = r.u32(14);
  facts.width = r.u32(18);
  if (!r.ok() || (version != 1 && version != 2)) return false;
  // Past the colour mode data to the image resources, each "8BIM" (or another
  // signature), an ID, an even-padded name and an even-padded block.
  std::uint64_t at = 26 + 4 + static_cast<std::uint64_t>(r.u32(26));
  std::uint32_t resources_size = r.u32(at);
  at += 4;
  if (!r.ok()) return true;
  std::uint64_t end = std::min<std::uint64_t>(at + resources_size, r.size());
  while (at + 12 <= end) {
    std::uint16_t id = r.u16(at + 4);
    std::uint64_t data_at = at + 6 + padded(1 + std::uint64_t{r.u8(at + 6)});
    std::uint32_t size = r.u32(data_at);
    data_at += 4;
    if (!r.ok() || data_at > end || size > end - data_at) break;
    if (id == kIccResource) {
      if (size <= kMaxProfileBytes) facts.icc = r.slice(data_at, size);
      break;
    }
    at = data_at + padded(size);
  }
  return true;
}

}  // namespace platform
