// TIFF and PNG headers. exiv2 is not used for these: it copies the value of
// every TIFF tag (a layered TIFF's 200 MB layer tag included) and walks every
// PNG chunk to the end of the file, where we stop at the first image data.
#define ZLIB_CONST  // the input is read only
#include <zlib.h>

#include <algorithm>

#include "platform/linux/picture_reader.h"

namespace platform {
namespace {

// --- TIFF ------------------------------------------------------------------

// A chain of directories longer than any real file has; it also ends a chain
// that loops back on itself.
constexpr int kMaxTiffDirectories = 64;

enum : std::uint16_t {
  kTagNewSubfileType = 254,
  kTagImageWidth = 256,
  kTagImageLength = 257,
  kTagIccProfile = 34675,
};

struct TiffDirectory {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t subfile_type = 0;
  Bytes icc;
  std::uint64_t next = 0;  // offset of the next directory, 0 at the end
};

struct TiffEntry {
  std::uint16_t tag;
  std::uint16_t type;
  std::uint64_t count;
  std::uint64_t value_at;  // where the value, or the offset of the value, sits
};

class TiffReader {
 public:
  TiffReader(ByteSource& file, bool big_endian, bool big_tiff)
      : m_r(file, big_endian), m_big_tiff(big_tiff) {}

  ByteReader& bytes() { return m_r; }

  // Reads the directory at `at`; false when it is not all in the file.
  bool read_directory(std::uint64_t at, TiffDirectory& dir) {
    std::uint64_t count = m_big_tiff ? m_r.u64(at) : m_r.u16(at);
    std::uint64_t entry_size = m_big_tiff ? 20 : 12;
    std::uint64_t first = at + (m_big_tiff ? 8 : 2);
    if (!m_r.ok() || count > m_r.size() / entry_size || !m_r.has(first, count * entry_size))
      return false;
    for (std::uint64_t i = 0; i < count; ++i) take(entry(first + i * entry_size), dir);
    std::uint64_t next_at = first + count * entry_size;
    dir.next = m_big_tiff ? m_r.u64(next_at) : m_r.u32(next_at);
    if (!m_r.ok()) dir.next = 0;  // a directory without its link is still whole
    return true;
  }

 private:
  TiffEntry entry(std::uint64_t at) {
    TiffEntry e{m_r.u16(at), m_r.u16(at + 2), 0, 0};
    e.count = m_big_tiff ? m_r.u64(at + 4) : m_r.u32(at + 4);
    e.value_at = at + (m_big_tiff ? 12 : 8);
    return e;
  }

  // The first value of a BYTE, SHORT, LONG or LONG8 entry; 0 for other types.
  std::uint32_t number(const TiffEntry& e) {
    if (e.count == 0) return 0;
    switch (e.type) {
      case 1:
        return m_r.u8(e.value_at);
      case 3:
        return m_r.u16(e.value_at);
      case 4:
      case 13:
        return m_r.u32(e.value_at);
      case 16: {
        std::uint64_t v = m_r.u64(e.value_at);
        return v > 0xFFFFFFFFu ? 0 : static_cast<std::uint32_t>(v);
      }
      default:
        return 0;
    }
  }

  // The bytes of a BYTE or UNDEFINED entry, inline when they fit the value field.
  Bytes blob(const TiffEntry& e) {
    if (e.type != 1 && e.type != 7) return {};
    std::uint64_t inline_size = m_big_tiff ? 8 : 4;
    std::uint64_t at = e.value_at;
    if (e.count > inline_size) at = m_big_tiff ? m_r.u64(e.value_at) : m_r.u32(e.value_at);
    if (e.count > kMaxProfileBytes || !m_r.has(at, e.count)) return {};
    return m_r.slice(at, e.count);
  }

  void take(const TiffEntry& e, TiffDirectory& dir) {
    switch (e.tag) {
      case kTagNewSubfileType:
        dir.subfile_type = number(e);
        break;
      case kTagImageWidth:
        dir.width = number(e);
        break;
      case kTagImageLength:
        dir.height = number(e);
        break;
      case kTagIccProfile:
        dir.icc = blob(e);
        break;
      default:
        break;
    }
  }

  ByteReader m_r;
  bool m_big_tiff;
};

// --- PNG -------------------------------------------------------------------

// A zlib stream being unpacked, ended when it goes.
class Inflater {
 public:
  explicit Inflater(Bytes packed) {
    m_z.next_in = packed.data();
    m_z.avail_in = static_cast<uInt>(std::min<std::size_t>(packed.size(), UINT32_MAX));
    m_ready = inflateInit(&m_z) == Z_OK;
  }
  ~Inflater() {
    if (m_ready) inflateEnd(&m_z);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // Unpacks exactly `count` bytes to `out`; false when the stream is broken
  // or ends before.
  bool next(std::uint8_t* out, std::size_t count) {
    m_z.next_out = out;
    m_z.avail_out = static_cast<uInt>(count);
    int status = m_ready ? Z_OK : Z_STREAM_ERROR;
    while (m_z.avail_out > 0 && status == Z_OK) status = inflate(&m_z, Z_NO_FLUSH);
    return m_ready && m_z.avail_out == 0;
  }

 private:
  z_stream m_z{};
  bool m_ready = false;
};

// Unpacks a profile: its first four bytes give its size, and the stream is
// unpacked to that size and no further, so a stream that would unpack to
// gigabytes costs at most kMaxProfileBytes.
bool inflate_profile(Bytes packed, std::vector<std::uint8_t>& out) {
  constexpr std::size_t kHeader = 128;  // the header alone; a profile also has tags
  Inflater stream(packed);
  out.resize(4);
  if (!stream.next(out.data(), 4)) return false;
  std::uint32_t declared = ByteReader(Bytes(out), true).u32(0);
  if (declared <= kHeader || declared > kMaxProfileBytes) return false;
  out.resize(declared);
  return stream.next(out.data() + 4, declared - 4);
}

// iCCP: a name of 1 to 79 characters, a NUL, the method (0) and the zlib stream.
void read_iccp(Bytes data, PictureFacts& facts) {
  std::size_t name_end = 0;
  while (name_end < data.size() && name_end < 80 && data[name_end] != 0) ++name_end;
  if (name_end == 0 || name_end >= 80 || name_end + 2 > data.size() || data[name_end + 1] != 0)
    return;
  if (!inflate_profile(data.subspan(name_end + 2), facts.icc_storage)) {
    facts.icc_storage.clear();
    return;
  }
  facts.icc = facts.icc_storage;
}

}  // namespace

bool read_tiff_facts(ByteSource& file, PictureFacts& facts) {
  ByteReader head(file, true);
  bool big_endian = head.matches(0, "MM");
  if (!big_endian && !head.matches(0, "II")) return false;
  head = ByteReader(file, big_endian);
  std::uint16_t magic = head.u16(2);
  bool big_tiff = magic == 43;
  if (magic != 42 && !(big_tiff && head.u16(4) == 8 && head.u16(6) == 0)) return false;
  std::uint64_t at = big_tiff ? head.u64(8) : head.u32(4);
  if (!head.ok()) return false;

  TiffReader reader(file, big_endian, big_tiff);
  TiffDirectory first, dir;
  if (!reader.read_directory(at, first)) return false;
  // The picture is the first directory that is not a reduced-resolution copy.
  dir = first;
  for (int n = 1; (dir.subfile_type & 1) != 0 && dir.next != 0 && n < kMaxTiffDirectories; ++n) {
    TiffDirectory next;
    if (!reader.read_directory(dir.next, next)) break;
    dir = next;
  }
  if (dir.subfile_type & 1) dir = first;
  facts.width = dir.width;
  facts.height = dir.height;
  facts.icc = dir.icc;
  return true;
}

bool read_png_facts(ByteSource& file, PictureFacts& facts) {
  ByteReader r(file, true);
  if (!r.matches(0, "\x89PNG\r\n\x1A\n")) return false;
  bool seen_header = false;
  // Chunks up to the first image data: the profile must come before it.
  for (std::uint64_t at = 8; r.has(at, 8);) {
    std::uint32_t length = r.u32(at);
    std::uint64_t data_at = at + 8;
    if (!r.has(data_at, length)) break;
    if (r.matches(at + 4, "IHDR") && length >= 8) {
      facts.width = r.u32(data_at);
      facts.height = r.u32(data_at + 4);
      seen_header = true;
    } else if (r.matches(at + 4, "iCCP")) {
      if (facts.icc.empty()) read_iccp(r.slice(data_at, length), facts);
    } else if (r.matches(at + 4, "IDAT") || r.matches(at + 4, "IEND")) {
      break;
    } else if (!seen_header && !r.matches(at + 4, "CgBI")) {
      return false;  // the header chunk must come first
    }
    at = data_at + length + 4;  // past the check value
  }
  return seen_header;
}

}  // namespace platform
