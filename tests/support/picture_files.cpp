#include "picture_files.h"

#include <gio/gio.h>
#include <lcms2.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testing_support {

std::string sample_path(std::string_view name) {
  return std::string(TAVRINE_SOURCE_DIR) + "/samples/" + std::string(name);
}

ByteString file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return ByteString(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const std::string& path, const ByteString& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

namespace {

// The bytes of a profile, which is closed.
ByteString saved_profile(cmsHPROFILE profile) {
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(profile, nullptr, &size);
  ByteString bytes(size);
  cmsSaveProfileToMem(profile, bytes.data(), &size);
  cmsCloseProfile(profile);
  return bytes;
}

}  // namespace

ByteString icc_profile(std::u32string_view description, std::u32string_view french) {
  if (french.empty()) return icc_profile_records({{"en", "US", description}});
  return icc_profile_records({{"en", "US", description}, {"fr", "FR", french}});
}

ByteString icc_profile_records(std::initializer_list<IccRecord> records) {
  cmsHPROFILE profile = cmsCreate_sRGBProfile();
  cmsMLU* text = cmsMLUalloc(nullptr, static_cast<cmsUInt32Number>(records.size()));
  for (const IccRecord& record : records) {
    std::wstring wide(record.text.begin(), record.text.end());
    cmsMLUsetWide(text, record.language, record.country, wide.c_str());
  }
  cmsWriteTag(profile, cmsSigProfileDescriptionTag, text);
  cmsMLUfree(text);
  return saved_profile(profile);
}

ByteString icc_v2_profile(std::string_view ascii, std::u16string_view unicode,
                          bool unicode_record) {
  cmsHPROFILE profile = cmsCreate_sRGBProfile();
  cmsSetProfileVersion(profile, 2.1);
  ByteString bytes = saved_profile(profile);
  // The description tag, written anew at the end and pointed to.
  ByteWriter tag;
  tag.text("desc"), tag.u32(0), tag.u32(static_cast<std::uint32_t>(ascii.size() + 1));
  tag.text(ascii), tag.u8(0);
  if (unicode_record) {
    tag.u32(0x656E5553);  // "enUS"
    tag.u32(static_cast<std::uint32_t>(unicode.empty() ? 0 : unicode.size() + 1));
    for (char16_t unit : unicode) tag.u16(unit);
    if (!unicode.empty()) tag.u16(0);
    tag.u16(0), tag.u8(0), tag.append(ByteString(67, 0));  // no Macintosh script record
  }
  ByteWriter file{bytes};
  while (file.bytes.size() % 4) file.u8(0);
  std::uint32_t tag_at = static_cast<std::uint32_t>(file.bytes.size());
  file.append(tag.bytes);
  std::uint32_t count =
      file.bytes[128] << 24 | file.bytes[129] << 16 | file.bytes[130] << 8 | file.bytes[131];
  for (std::uint32_t i = 0; i < count; ++i) {
    std::size_t entry = 132 + 12 * i;
    if (std::string_view(reinterpret_cast<const char*>(&file.bytes[entry]), 4) != "desc") continue;
    file.put32(entry + 4, tag_at);
    file.put32(entry + 8, static_cast<std::uint32_t>(tag.bytes.size()));
  }
  file.put32(0, static_cast<std::uint32_t>(file.bytes.size()));
  return file.bytes;
}

void ByteWriter::u16(std::uint32_t v) {
  for (int i = 0; i < 2; ++i) u8(v >> (big_endian ? 8 - 8 * i : 8 * i));
}

void ByteWriter::u32(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) u8(v >> (big_endian ? 24 - 8 * i : 8 * i));
}

void ByteWriter::u64(std::uint64_t v) {
  auto high = static_cast<std::uint32_t>(v >> 32), low = static_cast<std::uint32_t>(v);
  u32(big_endian ? high : low);
  u32(big_endian ? low : high);
}

void ByteWriter::put32(std::size_t at, std::uint32_t v) {
  ByteWriter w{{}, big_endian};
  w.u32(v);
  std::copy(w.bytes.begin(), w.bytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

ByteString box(std::string_view type, const ByteString& payload) {
  ByteWriter w;
  w.u32(static_cast<std::uint32_t>(payload.size() + 8));
  w.text(type);
  w.append(payload);
  return w.bytes;
}

namespace {

void tiff_entry(ByteWriter& w, bool big_tiff, std::uint16_t tag, std::uint16_t type,
                std::uint64_t count, std::uint64_t value) {
  w.u16(tag);
  w.u16(type);
  if (big_tiff) {
    w.u64(count);
    // A SHORT or a LONG sits in the first bytes of the value field.
    if (type == 3) {
      w.u16(static_cast<std::uint32_t>(value)), w.u16(0), w.u32(0);
    } else if (type == 4) {
      w.u32(static_cast<std::uint32_t>(value)), w.u32(0);
    } else {
      w.u64(value);
    }
  } else {
    w.u32(static_cast<std::uint32_t>(count));
    if (type == 3) {
      w.u16(static_cast<std::uint32_t>(value)), w.u16(0);
    } else {
      w.u32(static_cast<std::uint32_t>(value));
    }
  }
}

}  // namespace

ByteString tiff(const std::vector<TiffPage>& pages, bool big_endian, bool big_tiff) {
  ByteWriter w{{}, big_endian};
  w.text(big_endian ? "MM" : "II");
  w.u16(big_tiff ? 43 : 42);
  if (big_tiff) w.u16(8), w.u16(0);
  std::size_t link_at = w.bytes.size();
  big_tiff ? w.u64(0) : w.u32(0);
  for (const TiffPage& page : pages) {
    std::size_t dir_at = w.bytes.size();
    w.put32(link_at + (big_tiff && big_endian ? 4 : 0), static_cast<std::uint32_t>(dir_at));
    std::uint64_t count = page.icc.empty() ? 3 : 4;
    std::size_t entry_size = big_tiff ? 20 : 12, head = big_tiff ? 8 : 2;
    std::size_t icc_at = dir_at + head + count * entry_size + (big_tiff ? 8 : 4);
    big_tiff ? w.u64(count) : w.u16(static_cast<std::uint32_t>(count));
    tiff_entry(w, big_tiff, 254, 4, 1, page.subfile_type);
    tiff_entry(w, big_tiff, 256, 3, 1, page.width);   // width as a SHORT,
    tiff_entry(w, big_tiff, 257, 4, 1, page.height);  // height as a LONG
    if (!page.icc.empty()) tiff_entry(w, big_tiff, 34675, 7, page.icc.size(), icc_at);
    link_at = w.bytes.size();
    big_tiff ? w.u64(0) : w.u32(0);
    w.append(page.icc);
  }
  return w.bytes;
}

ByteString heif(std::string_view brand, std::uint32_t primary, const std::vector<HeifItem>& items) {
  ByteWriter ftyp;
  ftyp.text(brand);
  ftyp.u32(0);
  ftyp.text(brand == "isom" ? "mp41" : "mif1");
  ftyp.text(brand);
  ByteWriter hdlr, pitm, ipco, ipma;
  hdlr.u32(0), hdlr.u32(0), hdlr.text("pict"), hdlr.u32(0), hdlr.u32(0), hdlr.u32(0), hdlr.u8(0);
  pitm.u32(0), pitm.u16(primary);
  ipma.u32(0), ipma.u32(static_cast<std::uint32_t>(items.size()));
  unsigned index = 0;
  for (const HeifItem& item : items) {
    ByteWriter ispe;
    ispe.u32(0), ispe.u32(item.width), ispe.u32(item.height);
    ipco.append(box("ispe", ispe.bytes));
    ipma.u16(item.id);
    ipma.u8(static_cast<std::uint32_t>(1 + !item.icc.empty() + item.transforms.size()));
    ipma.u8(++index);
    if (!item.icc.empty()) {
      ByteWriter colr;
      colr.text("prof");
      colr.append(item.icc);
      ipco.append(box("colr", colr.bytes));
      ipma.u8(0x80 | ++index);  // essential
    }
    for (const ByteString& transform : item.transforms) {
      ipco.append(transform);
      ipma.u8(0x80 | ++index);
    }
  }
  ByteWriter iprp, meta;
  iprp.append(box("ipco", ipco.bytes));
  iprp.append(box("ipma", ipma.bytes));
  meta.u32(0);
  meta.append(box("hdlr", hdlr.bytes));
  meta.append(box("pitm", pitm.bytes));
  meta.append(box("iprp", iprp.bytes));
  ByteWriter file;
  file.append(box("ftyp", ftyp.bytes));
  file.append(box("meta", meta.bytes));
  file.append(box("mdat", ByteString(16, 0)));
  return file.bytes;
}

ByteString jp2(std::uint32_t width, std::uint32_t height, const ByteString& icc) {
  ByteWriter ftyp, ihdr, colr, header, file;
  ftyp.text("jp2 "), ftyp.u32(0), ftyp.text("jp2 ");
  ihdr.u32(height), ihdr.u32(width), ihdr.u16(3), ihdr.u8(7), ihdr.u8(7), ihdr.u8(0), ihdr.u8(0);
  colr.u8(2), colr.u8(0), colr.u8(0);  // method 2: a restricted ICC profile
  colr.append(icc);
  header.append(box("ihdr", ihdr.bytes));
  header.append(box("colr", colr.bytes));
  file.u32(12), file.text("jP  "), file.u32(0x0D0A870A);
  file.append(box("ftyp", ftyp.bytes));
  file.append(box("jp2h", header.bytes));
  file.append(box("jp2c", ByteString{0xFF, 0x4F, 0xFF, 0xD9}));
  return file.bytes;
}

ByteString j2k(std::uint32_t width, std::uint32_t height, std::uint32_t left, std::uint32_t top) {
  ByteWriter w;
  w.u16(0xFF4F), w.u16(0xFF51), w.u16(41), w.u16(0);
  w.u32(left + width), w.u32(top + height), w.u32(left), w.u32(top);
  w.u32(left + width), w.u32(top + height), w.u32(0), w.u32(0);  // one tile
  w.u16(1), w.u8(7), w.u8(1), w.u8(1);                           // one 8-bit component
  w.u16(0xFFD9);
  return w.bytes;
}

ByteString zlib_compress(const ByteString& in) {
  GZlibCompressor* compressor = g_zlib_compressor_new(G_ZLIB_COMPRESSOR_FORMAT_ZLIB, 9);
  ByteString out(in.size() + 1024);
  gsize read = 0, written = 0;
  g_converter_convert(G_CONVERTER(compressor), in.data(), in.size(), out.data(), out.size(),
                      G_CONVERTER_INPUT_AT_END, &read, &written, nullptr);
  g_object_unref(compressor);
  out.resize(written);
  return out;
}

namespace {

ByteString png_chunk(std::string_view type, const ByteString& data) {
  ByteWriter w;
  w.u32(static_cast<std::uint32_t>(data.size()));
  w.text(type);
  w.append(data);
  w.u32(0);
  return w.bytes;
}

}  // namespace

ByteString png(std::uint32_t width, std::uint32_t height, const ByteString& icc) {
  return png_packed_profile(width, height, icc.empty() ? ByteString() : zlib_compress(icc));
}

ByteString png_packed_profile(std::uint32_t width, std::uint32_t height, const ByteString& packed) {
  ByteWriter ihdr, iccp, file;
  ihdr.u32(width), ihdr.u32(height), ihdr.u8(8), ihdr.u8(2), ihdr.u8(0), ihdr.u8(0), ihdr.u8(0);
  iccp.text("ICC Profile"), iccp.u8(0), iccp.u8(0);
  iccp.append(packed);
  file.text("\x89PNG\r\n\x1A\n");
  file.append(png_chunk("IHDR", ihdr.bytes));
  if (!packed.empty()) file.append(png_chunk("iCCP", iccp.bytes));
  file.append(png_chunk("IDAT", zlib_compress(ByteString(3 * width * height + height, 0))));
  file.append(png_chunk("IEND", {}));
  return file.bytes;
}

ByteString gif(std::uint16_t width, std::uint16_t height, const ByteString& icc) {
  ByteWriter w{{}, false};
  w.text("GIF89a"), w.u16(width), w.u16(height);
  w.u8(0x80), w.u8(0), w.u8(0);  // a global colour table of two colours
  w.append(ByteString(6, 0));
  if (!icc.empty()) {
    w.u8(0x21), w.u8(0xFF), w.u8(11), w.text("ICCRGBG1012");
    for (std::size_t at = 0; at < icc.size(); at += 255) {
      std::size_t size = std::min<std::size_t>(255, icc.size() - at);
      w.u8(static_cast<std::uint32_t>(size));
      w.bytes.insert(w.bytes.end(), icc.begin() + static_cast<std::ptrdiff_t>(at),
                     icc.begin() + static_cast<std::ptrdiff_t>(at + size));
    }
    w.u8(0);
  }
  w.u8(0x2C), w.u16(0), w.u16(0), w.u16(1), w.u16(1), w.u8(0);  // the image
  w.u8(2), w.u8(2), w.u8(0x4C), w.u8(0x01), w.u8(0), w.u8(0x3B);
  return w.bytes;
}

ByteString jpeg_segment(std::uint8_t marker, const ByteString& payload) {
  ByteWriter w;
  w.u8(0xFF), w.u8(marker), w.u16(static_cast<std::uint32_t>(payload.size() + 2));
  w.append(payload);
  return w.bytes;
}

ByteString jpeg_with_segments(const std::vector<ByteString>& segments) {
  ByteString sample = file_bytes(sample_path("sample-srgb.jpg"));
  ByteString out(sample.begin(), sample.begin() + 2);
  for (const ByteString& segment : segments) out.insert(out.end(), segment.begin(), segment.end());
  std::size_t at = 2;
  // Copy every segment but the profile's (APP2) up to the scan, then the rest.
  while (at + 4 <= sample.size() && sample[at] == 0xFF && sample[at + 1] != 0xDA) {
    std::size_t length = 2 + (sample[at + 2] << 8 | sample[at + 3]);
    if (sample[at + 1] != 0xE2)
      out.insert(out.end(), sample.begin() + at, sample.begin() + at + length);
    at += length;
  }
  out.insert(out.end(), sample.begin() + static_cast<std::ptrdiff_t>(at), sample.end());
  return out;
}

ByteString exif_segment(std::uint32_t width, std::uint32_t height) {
  ByteWriter tiff_bytes{{}, false};
  tiff_bytes.text("II"), tiff_bytes.u16(42), tiff_bytes.u32(8);
  // IFD0 at 8: its own size and the link to the Exif directory at 50.
  tiff_bytes.u16(3);
  for (auto [tag, value] : {std::pair{256u, width + 1}, {257u, height + 1}, {0x8769u, 50u}}) {
    tiff_bytes.u16(tag), tiff_bytes.u16(4), tiff_bytes.u32(1), tiff_bytes.u32(value);
  }
  tiff_bytes.u32(0);
  tiff_bytes.u16(2);
  for (auto [tag, value] : {std::pair{0xA002u, width}, {0xA003u, height}}) {
    tiff_bytes.u16(tag), tiff_bytes.u16(4), tiff_bytes.u32(1), tiff_bytes.u32(value);
  }
  tiff_bytes.u32(0);
  ByteWriter payload;
  payload.text(std::string_view("Exif\0\0", 6));
  payload.append(tiff_bytes.bytes);
  return jpeg_segment(0xE1, payload.bytes);
}

}  // namespace testing_support
