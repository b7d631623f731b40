// The picture header readers behind the metadata items. Each reader works on
// the whole content of a file held in memory (a read-only mapping) and touches
// only the bytes of the headers it needs, so a picture of 2 GB costs what a
// small one does. No reader reads past the bytes it is given.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/metadata.h"

namespace platform {

using Bytes = std::span<const std::uint8_t>;

// What a picture's headers say.
struct PictureFacts {
  std::uint32_t width = 0;                // 0 when the header does not give it
  std::uint32_t height = 0;               // 0 when the header does not give it
  Bytes icc;                              // the embedded ICC profile: into the file or icc_storage
  std::vector<std::uint8_t> icc_storage;  // a profile that had to be unpacked or copied
};

// Reads the facts of any format we know. False when the bytes are not such a
// picture, or too broken to be recognised as one; `facts` may then hold
// partial values and is to be ignored.
bool read_picture_facts(Bytes file, PictureFacts& facts);

// Fills a metadata item from the whole content of a file: the pixel size and
// the profile's description, each when the file gives it. False when the
// format is not understood (the item is then left as it was).
bool fill_metadata_item(Bytes file, __MDItem& item);

// One reader per format. Each returns false when the bytes are not its format.
bool read_jpeg_facts(Bytes file, PictureFacts& facts);
bool read_gif_facts(Bytes file, PictureFacts& facts);
bool read_tiff_facts(Bytes file, PictureFacts& facts);
bool read_png_facts(Bytes file, PictureFacts& facts);
bool read_webp_facts(Bytes file, PictureFacts& facts);
bool read_bmp_facts(Bytes file, PictureFacts& facts);
bool read_psd_facts(Bytes file, PictureFacts& facts);
bool read_jp2_facts(Bytes file, PictureFacts& facts);
bool read_bmff_facts(Bytes file, PictureFacts& facts);  // HEIF and AVIF

// The description of an ICC profile (UTF-8) in the user's language where the
// profile has one, else its first; empty when the profile cannot be read or
// has none. Backed by lcms2.
std::string icc_profile_description(Bytes profile);

// One language's text of a profile description ("en", "US", UTF-8 text).
struct DescriptionRecord {
  std::string language;
  std::string country;
  std::string text;
};
// The record to show, since the program shows it in Mac Roman: the user's
// language (its country first) when that record has a Mac Roman form, else
// English, else the first record that has one; null when none has, and the
// user's record is then shown in its nearest form.
const DescriptionRecord* choose_description(const std::vector<DescriptionRecord>& records,
                                            std::string_view language, std::string_view country);

// Bounds-checked big- and little-endian reads. A read past the end gives 0
// and clears ok(), so a reader can read a whole header and check once.
class ByteReader {
 public:
  ByteReader(Bytes bytes, bool big_endian) : m_bytes(bytes), m_big(big_endian) {}

  bool ok() const { return m_ok; }
  std::size_t size() const { return m_bytes.size(); }
  bool has(std::uint64_t at, std::uint64_t count) const {
    return at <= m_bytes.size() && count <= m_bytes.size() - at;
  }
  std::uint8_t u8(std::uint64_t at) { return static_cast<std::uint8_t>(read(at, 1)); }
  std::uint16_t u16(std::uint64_t at) { return static_cast<std::uint16_t>(read(at, 2)); }
  std::uint32_t u24(std::uint64_t at) { return static_cast<std::uint32_t>(read(at, 3)); }
  std::uint32_t u32(std::uint64_t at) { return static_cast<std::uint32_t>(read(at, 4)); }
  std::uint64_t u64(std::uint64_t at) { return read(at, 8); }
  // The bytes [at, at + count), or nothing (and not ok) when they are not all there.
  Bytes slice(std::uint64_t at, std::uint64_t count);
  // True when the bytes at `at` are exactly `text` (without its NUL).
  bool matches(std::uint64_t at, std::string_view text) const;

 private:
  std::uint64_t read(std::uint64_t at, unsigned count);

  Bytes m_bytes;
  bool m_big;
  bool m_ok = true;
};

}  // namespace platform
