// JPEG and GIF headers.
//
// exiv2 reads both correctly (the JPEG size from the frame header, not from
// Exif), but loading it costs a program more than a millisecond at start,
// twice what reading every header costs; so these two short headers are read
// here as well, and no format needs exiv2.
#include <array>

#include "platform/linux/picture_reader.h"

namespace platform {
namespace {

// A profile larger than a JPEG segment is cut into numbered chunks of at most
// 255 segments.
struct IccChunks {
  std::array<Bytes, 256> parts{};
  unsigned count = 0;  // from the first chunk; 0 before any
  bool broken = false;

  void add(Bytes payload) {
    unsigned seq = payload[12], total = payload[13];
    if (count == 0) count = total;
    if (seq == 0 || seq > count || total != count || !parts[seq].empty()) {
      broken = true;
      return;
    }
    parts[seq] = payload.subspan(14);
  }

  // Joins the chunks in order; nothing when one is missing.
  void join(PictureFacts& facts) const {
    if (count == 0 || broken) return;
    if (count == 1) {
      facts.icc = parts[1];
      return;
    }
    for (unsigned seq = 1; seq <= count; ++seq) {
      if (parts[seq].empty()) {
        facts.icc_storage.clear();
        return;
      }
      facts.icc_storage.insert(facts.icc_storage.end(), parts[seq].begin(), parts[seq].end());
    }
    facts.icc = facts.icc_storage;
  }
};

// Start of frame markers: C0 to CF but for the tables (C4 Huffman, CC
// arithmetic) and C8 (reserved).
bool is_start_of_frame(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Skips a GIF's data sub-blocks (each a length byte and its bytes, ended by
// 0), appending their bytes to `out` when given. Returns the offset after them.
std::uint64_t gif_sub_blocks(ByteReader& r, std::uint64_t at, std::vector<std::uint8_t>* out) {
  for (std::uint8_t size = r.u8(at++); size != 0 && r.ok(); size = r.u8(at++)) {
    if (out) {
      Bytes block = r.slice(at, size);
      out->insert(out->end(), block.begin(), block.end());
    }
    at += size;
  }
  return at;
}

// A marker is 0xFF and a code other than 0 or 0xFF. Decoders skip anything
// else between two segments (a writer's padding, a byte a repair tool left)
// and any number of 0xFF fill bytes before the code; so do we, as long as
// the code is within kMaxStrayBytes of `at`: real files have a few such
// bytes, and a longer search would read on through a broken file's pixels.
// On success `at` is the offset of the code.
constexpr std::uint64_t kMaxStrayBytes = 64 * 1024;

bool next_marker(ByteReader& r, std::uint64_t& at) {
  std::uint64_t limit = at + kMaxStrayBytes;
  while (at < limit && r.has(at, 2)) {
    if (r.u8(at++) != 0xFF) continue;
    while (at < limit && r.u8(at) == 0xFF) ++at;  // fill bytes
    if (!r.ok() || at >= limit) return false;
    if (r.u8(at) != 0) return true;
    ++at;  // 0xFF 0x00 is not a marker either
  }
  return false;
}

}  // namespace

// Marker segments up to the first scan: the frame header gives the size,
// APP2 "ICC_PROFILE" segments the profile.
bool read_jpeg_facts(ByteSource& file, PictureFacts& facts) {
  ByteReader r(file, true);
  if (!r.matches(0, "\xFF\xD8\xFF")) return false;
  IccChunks icc;
  bool seen_frame = false;
  for (std::uint64_t at = 2; next_marker(r, at);) {
    std::uint8_t marker = r.u8(at);
    if (marker == 0xDA || marker == 0xD9) break;                 // the scan, or the end
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length
      ++at;
      continue;
    }
    std::uint16_t length = r.u16(at + 1);
    std::uint64_t data_at = at + 3;
    if (!r.ok() || length < 2 || !r.has(data_at, length - 2)) break;
    if (is_start_of_frame(marker) && !seen_frame && length >= 7) {
      facts.height = r.u16(data_at + 1);  // after the sample precision
      facts.width = r.u16(data_at + 3);
      seen_frame = r.ok();
    } else if (marker == 0xE2 && length >= 2 + 14 &&
               r.matches(data_at, std::string_view("ICC_PROFILE\0", 12))) {
      Bytes data = r.slice(data_at, length - 2);
      if (r.ok()) icc.add(data);
    }
    at = data_at + length - 2;
  }
  icc.join(facts);
  return seen_frame;
}

// The logical screen gives the size; a profile travels in an application
// extension "ICCRGBG1012" before the first image.
bool read_gif_facts(ByteSource& file, PictureFacts& facts) {
  ByteReader r(file, false);
  if (!(r.matches(0, "GIF87a") || r.matches(0, "GIF89a"))) return false;
  facts.width = r.u16(6);
  facts.height = r.u16(8);
  std::uint8_t flags = r.u8(10);
  if (!r.ok()) return false;
  std::uint64_t at = 13;
  if (flags & 0x80) at += 3u << ((flags & 7) + 1);  // the global colour table
  while (r.ok() && r.u8(at) == 0x21) {              // extensions up to the image
    std::uint8_t label = r.u8(at + 1);
    at += 2;
    bool profile = label == 0xFF && r.u8(at) == 11 && r.matches(at + 1, "ICCRGBG1012");
    if (profile)
      at = gif_sub_blocks(r, at + 12, &facts.icc_storage);
    else
      at = gif_sub_blocks(r, at, nullptr);
    if (profile && r.ok()) facts.icc = facts.icc_storage;
  }
  return true;
}

}  // namespace platform
