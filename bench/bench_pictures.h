// Large pictures for the benchmarks, written at start in a temporary folder
// (files of hundreds of megabytes are never checked in), the means to drop a
// file's pages from the cache, and the read that the benchmarks time.
#pragma once

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <lcms2.h>
#include <stdlib.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/metadata.h"

namespace bench_pictures {

// Reads a picture's metadata item and its three attributes, as
// GetPictureInfo asks for them, and gives everything back.
inline void ReadMetadata(CFStringRef path, benchmark::State& state) {
  MDItemRef item = MDItemCreate(kCFAllocatorDefault, path);
  if (item == nullptr) {
    state.SkipWithError("no metadata item");
    return;
  }
  for (CFStringRef name : {kMDItemProfileName, kMDItemPixelWidth, kMDItemPixelHeight}) {
    CFTypeRef value = MDItemCopyAttribute(item, name);
    benchmark::DoNotOptimize(value);
    CFRelease(value);
  }
  CFRelease(item);
}

inline std::vector<std::uint8_t> SrgbProfile() {
  cmsHPROFILE profile = cmsCreate_sRGBProfile();
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(profile, nullptr, &size);
  std::vector<std::uint8_t> bytes(size);
  cmsSaveProfileToMem(profile, bytes.data(), &size);
  cmsCloseProfile(profile);
  return bytes;
}

inline void PutLE(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void PutBE(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void Write(std::ofstream& out, const std::vector<std::uint8_t>& bytes) {
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Writes `count` bytes of a pattern, a megabyte at a time.
inline void WriteFill(std::ofstream& out, std::uint64_t count) {
  std::vector<char> block(1 << 20);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7);
  for (; count > 0; count -= std::min<std::uint64_t>(count, block.size()))
    out.write(block.data(),
              static_cast<std::streamsize>(std::min<std::uint64_t>(count, block.size())));
}

// A little-endian RGB TIFF as an image editor saves one: one strip of pixels,
// the layers in a private tag (none when `layer_bytes` is 0), the profile,
// and the directory at the end.
inline void WriteLayeredTiff(const std::string& path, std::uint32_t width, std::uint32_t height,
                             std::uint64_t layer_bytes) {
  std::vector<std::uint8_t> icc = SrgbProfile();
  std::uint64_t pixels = std::uint64_t{width} * height * 3;
  std::uint64_t layers_at = 8 + pixels, icc_at = layers_at + layer_bytes;
  std::uint64_t bits_at = icc_at + icc.size(), dir_at = bits_at + 6;
  struct Entry {
    std::uint16_t tag, type;
    std::uint32_t count;
    std::uint64_t value;
  };
  std::vector<Entry> entries = {
      {254, 4, 1, 0},      {256, 4, 1, width},
      {257, 4, 1, height}, {258, 3, 3, bits_at},
      {259, 3, 1, 1},      {262, 3, 1, 2},
      {273, 4, 1, 8},      {277, 3, 1, 3},
      {278, 4, 1, height}, {279, 4, 1, pixels},
      {284, 3, 1, 1},      {34675, 7, static_cast<std::uint32_t>(icc.size()), icc_at},
  };
  if (layer_bytes > 0)
    entries.push_back({37724, 7, static_cast<std::uint32_t>(layer_bytes), layers_at});
  std::vector<std::uint8_t> head{'I', 'I', 42, 0}, tail(icc);
  PutLE(head, dir_at, 4);
  for (int i = 0; i < 3; ++i) PutLE(tail, 8, 2);  // bits per sample
  PutLE(tail, entries.size(), 2);
  for (const Entry& e : entries) {
    PutLE(tail, e.tag, 2), PutLE(tail, e.type, 2), PutLE(tail, e.count, 4);
    PutLE(tail, e.value, e.type == 3 && e.count == 1 ? 2 : 4);
    if (e.type == 3 && e.count == 1) PutLE(tail, 0, 2);
  }
  PutLE(tail, 0, 4);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  Write(out, head);
  WriteFill(out, pixels + layer_bytes);
  Write(out, tail);
}

// A PNG chunk with its check value.
inline std::vector<std::uint8_t> PngChunk(const char* type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> chunk;
  PutBE(chunk, data.size(), 4);
  chunk.insert(chunk.end(), type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  uLong crc = crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
  PutBE(chunk, crc, 4);
  return chunk;
}

// An RGB PNG with an sRGB profile and `image_bytes` of image data in chunks
// of a megabyte (their content is not a valid picture: only headers are read).
inline void WritePng(const std::string& path, std::uint32_t width, std::uint32_t height,
                     std::uint64_t image_bytes) {
  std::vector<std::uint8_t> ihdr, iccp{'s', 'R', 'G', 'B', 0, 0};
  PutBE(ihdr, width, 4), PutBE(ihdr, height, 4);
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  std::vector<std::uint8_t> icc = SrgbProfile();
  std::vector<std::uint8_t> packed(compressBound(icc.size()));
  uLongf packed_size = packed.size();
  compress(packed.data(), &packed_size, icc.data(), icc.size());
  iccp.insert(iccp.end(), packed.begin(),
              packed.begin() + static_cast<std::ptrdiff_t>(packed_size));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  Write(out, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
  Write(out, PngChunk("IHDR", ihdr));
  Write(out, PngChunk("iCCP", iccp));
  std::vector<std::uint8_t> block(1 << 20, 0x5A);
  for (std::uint64_t left = image_bytes; left > 0;
       left -= std::min<std::uint64_t>(left, block.size())) {
    block.resize(std::min<std::uint64_t>(left, block.size()));
    Write(out, PngChunk("IDAT", block));
  }
  Write(out, PngChunk("IEND", {}));
}

// Writes a file's pages to the disk, so that they can be dropped.
inline void FlushToDisk(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Drops a file's pages from the cache: its next read comes from the disk.
inline void DropFromCache(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  close(fd);
}

// A fresh folder under `base` (the system's temporary folder by default),
// removed with everything in it when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
    std::string pattern = (base / "tavrine-bench-XXXXXX").string();
    if (mkdtemp(pattern.data())) m_path = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return m_path; }

 private:
  std::string m_path;
};

}  // namespace bench_pictures
