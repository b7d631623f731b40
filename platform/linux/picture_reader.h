// The picture header readers behind the metadata items. A reader asks for the
// bytes of the headers it needs, at the offsets they name, and for nothing
// else: a picture of 2 GB costs what a small one does, and a directory at the
// end of the file costs one read there. No reader reads past the bytes it is
// given, and every byte it looks at is a copy in a buffer the reading owns,
// so a file that another program changes or cuts short while it is read gives
// other values or none, never a fault.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/metadata.h"

namespace platform {

using Bytes = std::span<const std::uint8_t>;

// The bytes of one file as the readers ask for them: either all in memory
// (a test's or the fuzzer's buffer), or read from an open regular file with
// bounded pread calls into buffers this object owns.
class ByteSource {
 public:
  // `memory` must outlive the source; nothing is copied.
  explicit ByteSource(Bytes memory) : m_memory(memory), m_size(memory.size()) {}
  // Reads `fd` (not owned, kept open by the caller) of `size` bytes as the
  // file was when it was opened. Reads start with a small window and grow it
  // only while a reader walks on through the file.
  ByteSource(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
  ByteSource(const ByteSource&) = delete;
  ByteSource& operator=(const ByteSource&) = delete;

  // The file's size when it was opened, or where a read found it ends now.
  std::uint64_t size() const { return m_size; }
  // True once a read found the file shorter than when it was opened.
  bool cut_short() const { return m_cut_short; }
  // Copies the bytes [at, at + count) to `out` (count at most 8). False when
  // they are not all in the file, now or when it was opened.
  bool copy(std::uint64_t at, unsigned count, std::uint8_t* out);
  // The bytes [at, at + count), valid as long as the source. Empty when they
  // are not all in the file, or when the slices taken so far and this one
  // would pass kMaxSliceBytes.
  Bytes slice(std::uint64_t at, std::uint64_t count);

  // What all the slices of one file may hold together: more than the largest
  // profile a reader takes (kMaxProfileBytes) and the few small headers it
  // looks into, so a forged length costs at most this much memory.
  static constexpr std::uint64_t kMaxSliceBytes = 40u << 20;

 private:
  bool in_window(std::uint64_t at, std::uint64_t count) const {
    return at >= m_window_at && count <= m_window.size() &&
           at - m_window_at <= m_window.size() - count;
  }
  bool fill_window(std::uint64_t at, std::uint64_t count);
  // A read found the file ending before `end`: it was cut short since it was
  // opened, and ends there or before.
  void learn_size(std::uint64_t end);
  std::uint64_t read_fully(std::uint64_t at, std::uint8_t* out, std::uint64_t count) const;

  Bytes m_memory;
  int m_fd = -1;
  std::uint64_t m_size = 0;
  std::vector<std::uint8_t> m_window;  // the file's bytes from m_window_at
  std::uint64_t m_window_at = 0;
  std::uint64_t m_window_step = 0;  // the window's size before its last move
  std::vector<std::vector<std::uint8_t>> m_slices;
  std::uint64_t m_sliced = 0;
  bool m_cut_short = false;
};

// No real profile is larger; a larger one is not read.
constexpr std::size_t kMaxProfileBytes = 16 * 1024 * 1024;

// What a picture's headers say.
struct PictureFacts {
  std::uint32_t width = 0;                // 0 when the header does not give it
  std::uint32_t height = 0;               // 0 when the header does not give it
  Bytes icc;                              // the embedded ICC profile: a slice or icc_storage
  std::vector<std::uint8_t> icc_storage;  // a profile that had to be unpacked or joined
};

// Reads the facts of any format we know. False when the bytes are not such a
// picture, or too broken to be recognised as one; `facts` may then hold
// partial values and is to be ignored. `facts.icc` lives as long as `file`.
bool read_picture_facts(ByteSource& file, PictureFacts& facts);

// Fills a metadata item from a file: the pixel size and the profile's
// description, each when the file gives it. False when the format is not
// understood, or the file was cut short while it was read (the item is then
// left as it was).
bool fill_metadata_item(ByteSource& file, __MDItem& item);
bool fill_metadata_item(Bytes file, __MDItem& item);

// One reader per format. Each returns false when the bytes are not its format.
bool read_jpeg_facts(ByteSource& file, PictureFacts& facts);
bool read_gif_facts(ByteSource& file, PictureFacts& facts);
bool read_tiff_facts(ByteSource& file, PictureFacts& facts);
bool read_png_facts(ByteSource& file, PictureFacts& facts);
bool read_webp_facts(ByteSource& file, PictureFacts& facts);
bool read_bmp_facts(ByteSource& file, PictureFacts& facts);
bool read_psd_facts(ByteSource& file, PictureFacts& facts);
bool read_jp2_facts(ByteSource& file, PictureFacts& facts);
bool read_j2k_facts(ByteSource& file, PictureFacts& facts);   // a bare JPEG 2000 code stream
bool read_bmff_facts(ByteSource& file, PictureFacts& facts);  // HEIF and AVIF

// The description of an ICC profile (UTF-8) in the user's language where the
// profile has one, else its first; empty when the profile cannot be read or
// has none. lcms2 checks the profile and reads the descriptions of version 4;
// a version 2 description is read by icc_text_description.
std::string icc_profile_description(Bytes profile);

// The text of a version 2 description tag ("desc") in a profile that lcms2
// has accepted: its Unicode record when it has a non-empty one, else its
// ASCII record read as Latin-1. Nothing when the profile's description is
// not such a tag; trailing spaces and line ends are left out.
std::optional<std::string> icc_text_description(Bytes profile);

// Bounds-checked big- and little-endian reads, over a whole file or over a
// slice of one. A read past the end gives 0 and clears ok(), so a reader can
// read a whole header and check once.
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
  ByteReader(ByteSource& file, bool big_endian) : m_file(&file), m_big(big_endian) {}
  ByteReader(Bytes bytes, bool big_endian) : m_bytes(bytes), m_big(big_endian) {}

  bool ok() const { return m_ok; }
  std::uint64_t size() const { return m_file ? m_file->size() : m_bytes.size(); }
  bool has(std::uint64_t at, std::uint64_t count) const {
    return at <= size() && count <= size() - at;
  }
  std::uint8_t u8(std::uint64_t at) { return static_cast<std::uint8_t>(read(at, 1)); }
  std::uint16_t u16(std::uint64_t at) { return static_cast<std::uint16_t>(read(at, 2)); }
  std::uint32_t u24(std::uint64_t at) { return static_cast<std::uint32_t>(read(at, 3)); }
  std::uint32_t u32(std::uint64_t at) { return static_cast<std::uint32_t>(read(at, 4)); }
  std::uint64_t u64(std::uint64_t at) { return read(at, 8); }
  // The bytes [at, at + count), or nothing (and not ok) when they are not all there.
  Bytes slice(std::uint64_t at, std::uint64_t count);
  // True when the bytes at `at` are exactly `text` (without its NUL).
  bool matches(std::uint64_t at, std::string_view text);

 private:
  std::uint64_t read(std::uint64_t at, unsigned count);

  ByteSource* m_file = nullptr;  // the file, or else m_bytes
  Bytes m_bytes;
  bool m_big;
  bool m_ok = true;
};

}  // namespace platform
