// Box formats: JPEG 2000 and HEIF/AVIF.
//
// JPEG 2000: the header box "jp2h" holds the size ("ihdr") and the colour
// ("colr"), which may be an ICC profile (exiv2 0.27 turns such files down).
// The extended forms (.jpx, .jpf) keep the same header box. A bare code stream
// (.j2k, .j2c), or a boxed one whose header box is missing, gives its size in
// its first segment ("SIZ"), and has no profile.
//
// HEIF and AVIF: the size and the profile of the primary item. These files
// hold several images (the picture, its thumbnail, tiles, a depth map), each
// with its own size property; exiv2 keeps the largest size it meets, which is
// not always the picture's. Here "pitm" names the primary item, "ipma" lists
// its properties by index and "ipco" holds them ("ispe" the size, "colr" the
// profile).
#include <algorithm>
#include <array>

#include "platform/linux/picture_reader.h"

namespace platform {
namespace {

// More properties than any real file holds; the rest are not looked at.
constexpr std::size_t kMaxProperties = 4096;

struct Box {
  std::uint64_t data_at = 0;  // first byte after the header
  std::uint64_t end = 0;      // first byte after the box
  std::uint64_t type_at = 0;  // the four-character type
};

// Reads the header of the box at `at`, which must end by `limit`.
bool read_box(ByteReader& r, std::uint64_t at, std::uint64_t limit, Box& box) {
  if (at > limit || limit - at < 8 || !r.has(at, 8)) return false;
  std::uint64_t size = r.u32(at);
  std::uint64_t header = 8;
  if (size == 1) {
    size = r.u64(at + 8);
    header = 16;
  } else if (size == 0) {
    size = limit - at;  // to the end of the enclosing box
  }
  if (!r.ok() || size < header || size > limit - at) return false;
  box = {at + header, at + size, at + 4};
  return true;
}

bool is_heif_brand(ByteReader& r, std::uint64_t at) {
  static constexpr std::array<std::string_view, 12> kBrands = {"mif1", "msf1", "mif2", "heic",
                                                               "heix", "heim", "heis", "hevc",
                                                               "hevx", "avif", "avis", "avio"};
  for (std::string_view brand : kBrands) {
    if (r.matches(at, brand)) return true;
  }
  return false;
}

// The file type box: the major brand, a version, then the compatible brands.
bool is_heif(ByteReader& r, const Box& ftyp) {
  if (is_heif_brand(r, ftyp.data_at)) return true;
  for (std::uint64_t at = ftyp.data_at + 8; at + 4 <= ftyp.end; at += 4) {
    if (is_heif_brand(r, at)) return true;
  }
  return false;
}

struct MetaBoxes {
  std::uint32_t primary = 0;
  bool has_primary = false;
  std::vector<Box> properties;  // the children of "ipco", in order
  Box ipma;
  bool has_ipma = false;
};

void read_item_properties(ByteReader& r, const Box& iprp, MetaBoxes& meta) {
  Box child;
  for (std::uint64_t at = iprp.data_at; read_box(r, at, iprp.end, child); at = child.end) {
    if (r.matches(child.type_at, "ipma") && !meta.has_ipma) {
      meta.ipma = child;
      meta.has_ipma = true;
    } else if (r.matches(child.type_at, "ipco") && meta.properties.empty()) {
      Box property;
      for (std::uint64_t p = child.data_at;
           meta.properties.size() < kMaxProperties && read_box(r, p, child.end, property);
           p = property.end) {
        meta.properties.push_back(property);
      }
    }
  }
}

// "meta" is a full box: a version and flags come before its children.
void read_meta(ByteReader& r, const Box& box, MetaBoxes& meta) {
  Box child;
  for (std::uint64_t at = box.data_at + 4; read_box(r, at, box.end, child); at = child.end) {
    if (r.matches(child.type_at, "pitm") && child.end - child.data_at >= 6) {
      bool wide = r.u8(child.data_at) != 0;
      meta.primary = wide ? r.u32(child.data_at + 4) : r.u16(child.data_at + 4);
      meta.has_primary = r.ok();
    } else if (r.matches(child.type_at, "iprp")) {
      read_item_properties(r, child, meta);
    }
  }
}

// The 1-based property indices of the primary item (or, without "pitm", of
// the first item listed).
std::vector<std::uint32_t> primary_property_indices(ByteReader& r, const MetaBoxes& meta) {
  std::vector<std::uint32_t> indices;
  const Box& ipma = meta.ipma;
  std::uint8_t version = r.u8(ipma.data_at);
  bool wide_index = (r.u24(ipma.data_at + 1) & 1) != 0;
  std::uint32_t entries = r.u32(ipma.data_at + 4);
  std::uint64_t at = ipma.data_at + 8;
  for (std::uint32_t e = 0; e < entries && r.ok() && at < ipma.end; ++e) {
    std::uint32_t item = version < 1 ? r.u16(at) : r.u32(at);
    at += version < 1 ? 2 : 4;
    std::uint8_t count = r.u8(at++);
    bool wanted = meta.has_primary ? item == meta.primary : e == 0;
    for (std::uint8_t i = 0; i < count && at < ipma.end; ++i) {
      std::uint32_t index = wide_index ? (r.u16(at) & 0x7FFF) : (r.u8(at) & 0x7F);
      at += wide_index ? 2 : 1;
      if (wanted && r.ok()) indices.push_back(index);
    }
    if (wanted) break;
  }
  return indices;
}

// The descriptive properties: the coded size and the profile.
void take_property(ByteReader& r, const Box& property, PictureFacts& facts) {
  std::uint64_t length = property.end - property.data_at;
  if (r.matches(property.type_at, "ispe") && length >= 12 && facts.width == 0) {
    facts.width = r.u32(property.data_at + 4);  // after the version and flags
    facts.height = r.u32(property.data_at + 8);
  } else if (r.matches(property.type_at, "colr") && length > 4 && facts.icc.empty() &&
             (r.matches(property.data_at, "prof") || r.matches(property.data_at, "rICC"))) {
    if (length - 4 <= kMaxProfileBytes) facts.icc = r.slice(property.data_at + 4, length - 4);
  }
}

// A clean aperture's side, a fraction, to the nearest pixel; 0 when it is no
// size.
std::uint32_t aperture_side(std::uint32_t numerator, std::uint32_t denominator) {
  if (denominator == 0) return 0;
  return static_cast<std::uint32_t>((2 * std::uint64_t{numerator} + denominator) /
                                    (2 * std::uint64_t{denominator}));
}

// The transformative properties, applied to the size so far.
void apply_transform(ByteReader& r, const Box& property, PictureFacts& facts) {
  std::uint64_t length = property.end - property.data_at;
  if (r.matches(property.type_at, "clap") && length >= 32) {
    std::uint32_t width = aperture_side(r.u32(property.data_at), r.u32(property.data_at + 4));
    std::uint32_t height = aperture_side(r.u32(property.data_at + 8), r.u32(property.data_at + 12));
    if (!r.ok() || width == 0 || height == 0) return;  // a broken crop crops nothing
    facts.width = std::min(facts.width, width);
    facts.height = std::min(facts.height, height);
  } else if (r.matches(property.type_at, "irot") && length >= 1 && (r.u8(property.data_at) & 1)) {
    std::swap(facts.width, facts.height);  // a quarter or three quarters of a turn
  }
}

// A code stream's image and tile size segment (SIZ) at `at`, after its start
// marker: the reference grid's size and the image's offset on it.
bool read_code_stream_size(ByteReader& r, std::uint64_t at, PictureFacts& facts) {
  if (!r.matches(at, "\xFF\x4F\xFF\x51")) return false;
  std::uint16_t length = r.u16(at + 4);
  std::uint32_t grid_width = r.u32(at + 8), grid_height = r.u32(at + 12);
  std::uint32_t left = r.u32(at + 16), top = r.u32(at + 20);
  if (!r.ok() || length < 41 || left >= grid_width || top >= grid_height) return false;
  facts.width = grid_width - left;
  facts.height = grid_height - top;
  return true;
}

// The first colour box decides (later ones are to be ignored); methods 2 and
// 3 carry an ICC profile after the method, precedence and approximation bytes.
void read_jp2_header(ByteReader& r, const Box& jp2h, PictureFacts& facts) {
  Box child;
  bool seen_colour = false;
  for (std::uint64_t at = jp2h.data_at; read_box(r, at, jp2h.end, child); at = child.end) {
    std::uint64_t length = child.end - child.data_at;
    if (r.matches(child.type_at, "ihdr") && length >= 8) {
      facts.height = r.u32(child.data_at);
      facts.width = r.u32(child.data_at + 4);
    } else if (r.matches(child.type_at, "colr") && !seen_colour && length > 3) {
      seen_colour = true;
      std::uint8_t method = r.u8(child.data_at);
      if ((method == 2 || method == 3) && length - 3 <= kMaxProfileBytes)
        facts.icc = r.slice(child.data_at + 3, length - 3);
    }
  }
}

}  // namespace

bool read_jp2_facts(ByteSource& file, PictureFacts& facts) {
  ByteReader r(file, true);
  if (!r.matches(0, std::string_view("\0\0\0\x0CjP  \r\n\x87\n", 12))) return false;
  Box box;
  for (std::uint64_t at = 12; read_box(r, at, r.size(), box); at = box.end) {
    if (r.matches(box.type_at, "jp2h")) {
      read_jp2_header(r, box, facts);
      return true;
    }
    if (r.matches(box.type_at, "jp2c")) return read_code_stream_size(r, box.data_at, facts);
  }
  return false;
}

bool read_j2k_facts(ByteSource& file, PictureFacts& facts) {
  ByteReader r(file, true);
  return read_code_stream_size(r, 0, facts);
}

bool read_bmff_facts(ByteSource& file, PictureFacts& facts) {
  ByteReader r(file, true);
  Box ftyp;
  if (!read_box(r, 0, r.size(), ftyp) || !r.matches(ftyp.type_at, "ftyp") || !is_heif(r, ftyp))
    return false;
  MetaBoxes meta;
  Box box;
  for (std::uint64_t at = ftyp.end; read_box(r, at, r.size(), box); at = box.end) {
    if (r.matches(box.type_at, "meta")) {
      read_meta(r, box, meta);
      break;
    }
  }
  if (!meta.has_ipma) return true;
  std::vector<std::uint32_t> indices = primary_property_indices(r, meta);
  for (std::uint32_t index : indices) {
    if (index >= 1 && index <= meta.properties.size())
      take_property(r, meta.properties[index - 1], facts);
  }
  for (std::uint32_t index : indices) {
    if (index >= 1 && index <= meta.properties.size())
      apply_transform(r, meta.properties[index - 1], facts);
  }
  return true;
}

}  // namespace platform
