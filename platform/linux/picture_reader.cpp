// Which reader reads which picture.
#include "platform/linux/picture_reader.h"

#include <algorithm>
#include <cstring>

namespace platform {

std::uint64_t ByteReader::read(std::uint64_t at, unsigned count) {
  if (!has(at, count)) {
    m_ok = false;
    return 0;
  }
  std::uint64_t value = 0;
  for (unsigned i = 0; i < count; ++i) {
    unsigned shift = m_big ? 8 * (count - 1 - i) : 8 * i;
    value |= static_cast<std::uint64_t>(m_bytes[at + i]) << shift;
  }
  return value;
}

Bytes ByteReader::slice(std::uint64_t at, std::uint64_t count) {
  if (!has(at, count)) {
    m_ok = false;
    return {};
  }
  return m_bytes.subspan(at, count);
}

bool ByteReader::matches(std::uint64_t at, std::string_view text) const {
  return has(at, text.size()) && std::memcmp(m_bytes.data() + at, text.data(), text.size()) == 0;
}

bool read_picture_facts(Bytes file, PictureFacts& facts) {
  ByteReader r(file, true);
  if (r.matches(0, "\xFF\xD8\xFF")) return read_jpeg_facts(file, facts);
  if (r.matches(0, "GIF8")) return read_gif_facts(file, facts);
  if (r.matches(0, std::string_view("\0\0\0\x0CjP  ", 8))) return read_jp2_facts(file, facts);
  if (r.matches(0, "II") || r.matches(0, "MM")) return read_tiff_facts(file, facts);
  if (r.matches(0, "\x89PNG\r\n\x1A\n")) return read_png_facts(file, facts);
  if (r.matches(0, "RIFF") && r.matches(8, "WEBP")) return read_webp_facts(file, facts);
  if (r.matches(0, "BM")) return read_bmp_facts(file, facts);
  if (r.matches(0, "8BPS")) return read_psd_facts(file, facts);
  if (r.matches(4, "ftyp")) return read_bmff_facts(file, facts);
  return false;
}

}  // namespace platform
