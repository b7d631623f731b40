// Pictures for the tests: the checked-in samples, and small builders that
// write the headers of each format byte by byte (ICC profiles are made with
// lcms2).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

using ByteString = std::vector<std::uint8_t>;

// The path of a picture in samples/.
std::string sample_path(std::string_view name);
ByteString file_bytes(const std::string& path);
void write_bytes(const std::string& path, const ByteString& bytes);

// An RGB profile whose description is `description`; with `french`, a second
// description for French.
ByteString icc_profile(std::u32string_view description, std::u32string_view french = {});
// An RGB profile whose description has one record per language and country.
struct IccRecord {
  const char* language;
  const char* country;
  std::u32string_view text;
};
ByteString icc_profile_records(std::initializer_list<IccRecord> records);

// A version 2 RGB profile whose description tag ("desc") holds `ascii` (any
// bytes, written as they are) in its ASCII record and `unicode` in its
// Unicode record; without `unicode_record` the tag ends after the ASCII
// record, as some writers leave it.
ByteString icc_v2_profile(std::string_view ascii, std::u16string_view unicode,
                          bool unicode_record = true);

// `in` as a zlib stream.
ByteString zlib_compress(const ByteString& in);

// Big-endian and little-endian byte writing.
struct ByteWriter {
  ByteString bytes;
  bool big_endian = true;

  void u8(std::uint32_t v) { bytes.push_back(static_cast<std::uint8_t>(v)); }
  void u16(std::uint32_t v);
  void u32(std::uint32_t v);
  void u64(std::uint64_t v);
  void text(std::string_view s) { bytes.insert(bytes.end(), s.begin(), s.end()); }
  void append(const ByteString& b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
  void put32(std::size_t at, std::uint32_t v);  // overwrites four bytes
};

// A box: a 32-bit big-endian size, the type, the payload.
ByteString box(std::string_view type, const ByteString& payload);

struct TiffPage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t subfile_type = 0;  // 1: a reduced-resolution copy
  ByteString icc;
};
// A TIFF of directories only (no pixel data), in either byte order, classic
// or BigTIFF.
ByteString tiff(const std::vector<TiffPage>& pages, bool big_endian, bool big_tiff);

struct HeifItem {
  std::uint32_t id = 1;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  ByteString icc;
  std::vector<ByteString> transforms;  // whole property boxes, listed after the others
};
// A HEIF/AVIF file of the given brand whose primary item is `primary`; each
// item has its own size property and, when it has one, a profile property,
// then its transforms.
ByteString heif(std::string_view brand, std::uint32_t primary, const std::vector<HeifItem>& items);

// A JPEG 2000 file whose header box carries the size and an ICC profile.
ByteString jp2(std::uint32_t width, std::uint32_t height, const ByteString& icc);

// A bare JPEG 2000 code stream of one component, whose picture of `width`
// by `height` sits at (`left`, `top`) on the reference grid.
ByteString j2k(std::uint32_t width, std::uint32_t height, std::uint32_t left = 0,
               std::uint32_t top = 0);

// A PNG whose iCCP chunk carries the profile (check values are left 0).
ByteString png(std::uint32_t width, std::uint32_t height, const ByteString& icc);
// The same with the profile's zlib stream as given.
ByteString png_packed_profile(std::uint32_t width, std::uint32_t height, const ByteString& packed);

// A GIF whose profile travels in an "ICCRGBG1012" application extension
// (split in sub-blocks of 255 bytes), before a 1 by 1 image.
ByteString gif(std::uint16_t width, std::uint16_t height, const ByteString& icc);

// The sample JPEG with its profile segments taken out and `segments` (whole
// marker segments) put in after the start marker.
ByteString jpeg_with_segments(const std::vector<ByteString>& segments);
// A marker segment: FF, the marker, a 16-bit length, the payload.
ByteString jpeg_segment(std::uint8_t marker, const ByteString& payload);
// An APP1 Exif segment whose tags give a size other than the frame's.
ByteString exif_segment(std::uint32_t width, std::uint32_t height);

}  // namespace testing_support
