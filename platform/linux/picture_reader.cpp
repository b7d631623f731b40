// Which reader reads which picture, and the formats left to exiv2.
#include "platform/linux/picture_reader.h"

#include <exiv2/exiv2.hpp>

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

namespace {

// exiv2 reads each metadata block fully, so it is kept to the formats whose
// headers are small and come first: JPEG (up to the first scan) and GIF (the
// screen descriptor). Its log stays quiet.
void quiet_exiv2() {
  static const bool done = [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    return true;
  }();
  (void)done;
}

bool is_exiv2_format(int type) {
  return type == Exiv2::ImageType::jpeg || type == Exiv2::ImageType::gif;
}

}  // namespace

bool read_exiv2_facts(Bytes file, PictureFacts& facts) {
  quiet_exiv2();
  try {
    // The memory stays the caller's: exiv2 reads it in place.
    Exiv2::Image::AutoPtr image =
        Exiv2::ImageFactory::open(file.data(), static_cast<long>(file.size()));
    if (!image.get() || !is_exiv2_format(image->imageType())) return false;
    image->readMetadata();
    facts.width = image->pixelWidth();
    facts.height = image->pixelHeight();
    if (image->iccProfileDefined()) {
      const Exiv2::DataBuf* profile = image->iccProfile();
      facts.icc_storage.assign(profile->pData_, profile->pData_ + profile->size_);
      facts.icc = facts.icc_storage;
    }
    return true;
  } catch (...) {
    // exiv2 reports a broken file by throwing; such a file gives no facts.
    return false;
  }
}

bool read_picture_facts(Bytes file, PictureFacts& facts) {
  ByteReader r(file, true);
  if (r.matches(0, "\xFF\xD8\xFF") || r.matches(0, "GIF8")) return read_exiv2_facts(file, facts);
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
