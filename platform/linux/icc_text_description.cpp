// A version 2 profile's description ("desc", the text description type): an
// ASCII record, a Unicode record and a Macintosh script record, each with its
// own count. lcms2 gives only the ASCII record, and widens its bytes from
// 0x80 as signed characters, so an accented name comes out wrong; the
// Unicode record, which holds the name as its maker wrote it, is read here.
#include "platform/linux/picture_reader.h"
#include "platform/utf.h"

namespace platform {
namespace {

constexpr std::uint64_t kTagTableAt = 128;             // after the profile's header
constexpr std::uint32_t kDescriptionTag = 0x64657363;  // 'desc', the tag and its type

// The bytes of the profile's description tag; nothing when it has none.
Bytes description_tag(ByteReader& r) {
  std::uint32_t count = r.u32(kTagTableAt);
  for (std::uint32_t i = 0; r.ok() && i < count; ++i) {
    std::uint64_t entry = kTagTableAt + 4 + std::uint64_t{i} * 12;
    if (r.u32(entry) == kDescriptionTag) return r.slice(r.u32(entry + 4), r.u32(entry + 8));
  }
  return {};
}

void trim_end(std::string& text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r'))
    text.pop_back();
}

// UTF-16 big-endian characters up to the first NUL, to UTF-8; an unpaired
// surrogate becomes U+FFFD.
std::string utf16be_to_utf8(Bytes bytes) {
  std::u16string units;
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    auto unit = static_cast<char16_t>(bytes[at] << 8 | bytes[at + 1]);
    if (unit == 0) break;
    units.push_back(unit);
  }
  return utf16_to_utf8_lossy(units);
}

// Latin-1 bytes up to the first NUL, to UTF-8: each byte is its own code point.
std::string latin1_to_utf8(Bytes bytes) {
  std::string out;
  for (std::uint8_t byte : bytes) {
    if (byte == 0) break;
    append_utf8(out, byte);
  }
  return out;
}

}  // namespace

std::optional<std::string> icc_text_description(Bytes profile) {
  ByteReader r(profile, true);
  Bytes tag = description_tag(r);
  ByteReader t(tag, true);
  if (!r.ok() || t.u32(0) != kDescriptionTag) return std::nullopt;
  // The type, four reserved bytes, the ASCII count (with its NUL) and bytes,
  // then the Unicode language, count (in characters, with the NUL) and text.
  std::uint32_t ascii_count = t.u32(8);
  Bytes ascii = t.slice(12, ascii_count);
  if (!t.ok()) return std::nullopt;
  std::uint64_t unicode_at = 12 + std::uint64_t{ascii_count};
  std::uint32_t unicode_count = t.u32(unicode_at + 4);
  Bytes unicode = t.slice(unicode_at + 8, 2 * std::uint64_t{unicode_count});
  std::string text = t.ok() ? utf16be_to_utf8(unicode) : std::string();
  trim_end(text);
  if (text.empty()) text = latin1_to_utf8(ascii);
  trim_end(text);
  return text;
}

}  // namespace platform
