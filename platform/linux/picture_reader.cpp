// Which reader reads which picture, and the bytes they read.
#include "platform/linux/picture_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

// Reads start at a page boundary. The first window holds the headers of
// nearly every picture; a reader that walks on past a window (a JPEG's
// segments, a PSD's resources) doubles the next one, up to the largest. A
// jump elsewhere (a TIFF directory at the end) starts small again, around
// the place asked for, since what a directory points to (a profile) is
// mostly written just before or after it. A cold file costs a few small
// reads however large it is.
constexpr std::uint64_t kPage = 4096;
constexpr std::uint64_t kFirstWindow = 16 * 1024;
constexpr std::uint64_t kLargestWindow = 256 * 1024;

}  // namespace

std::uint64_t ByteSource::read_fully(std::uint64_t at, std::uint8_t* out,
                                     std::uint64_t count) const {
  std::uint64_t done = 0;
  while (done < count) {
    ssize_t got = ::pread(m_fd, out + done, count - done, static_cast<off_t>(at + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // an error, or the file is shorter now
    done += static_cast<std::uint64_t>(got);
  }
  return done;
}

void ByteSource::learn_size(std::uint64_t end) {
  struct stat info {};
  if (fstat(m_fd, &info) == 0 && static_cast<std::uint64_t>(info.st_size) < end)
    end = static_cast<std::uint64_t>(info.st_size);
  m_size = std::min(m_size, end);
  m_cut_short = true;
}

bool ByteSource::fill_window(std::uint64_t at, std::uint64_t count) {
  std::uint64_t page = at & ~(kPage - 1);
  bool walking_on =
      !m_window.empty() && page >= m_window_at && page <= m_window_at + m_window.size() + kPage;
  m_window_step = walking_on ? std::min(2 * m_window_step, kLargestWindow) : kFirstWindow;
  std::uint64_t back = walking_on ? 0 : std::min(page, m_window_step / 2);
  std::uint64_t start = page - back;
  std::uint64_t length = std::max(at + count - start, m_window_step);
  length = std::min(length, m_size - start);
  m_window.resize(length);
  m_window.resize(read_fully(start, m_window.data(), length));
  m_window_at = start;
  if (m_window.size() < length) learn_size(start + m_window.size());
  return in_window(at, count);
}

bool ByteSource::copy(std::uint64_t at, unsigned count, std::uint8_t* out) {
  if (at > m_size || count > m_size - at) return false;
  if (m_fd < 0) {
    std::memcpy(out, m_memory.data() + at, count);
    return true;
  }
  if (!in_window(at, count) && !fill_window(at, count)) return false;
  std::memcpy(out, m_window.data() + (at - m_window_at), count);
  return true;
}

Bytes ByteSource::slice(std::uint64_t at, std::uint64_t count) {
  if (at > m_size || count > m_size - at) return {};
  if (m_fd < 0) return m_memory.subspan(at, count);
  if (count > kMaxSliceBytes - m_sliced) return {};
  std::vector<std::uint8_t> bytes;
  if (in_window(at, count) || (count <= kLargestWindow && fill_window(at, count))) {
    auto from = m_window.begin() + static_cast<std::ptrdiff_t>(at - m_window_at);
    bytes.assign(from, from + static_cast<std::ptrdiff_t>(count));
  } else {
    bytes.resize(count);
    std::uint64_t got = read_fully(at, bytes.data(), count);
    if (got < count) {
      learn_size(at + got);
      return {};
    }
  }
  m_sliced += count;
  m_slices.push_back(std::move(bytes));
  return m_slices.back();
}

std::uint64_t ByteReader::read(std::uint64_t at, unsigned count) {
  std::uint8_t bytes[8];
  bool there = m_file ? m_file->copy(at, count, bytes) : has(at, count);
  if (!there) {
    m_ok = false;
    return 0;
  }
  if (!m_file) std::memcpy(bytes, m_bytes.data() + at, count);
  std::uint64_t value = 0;
  for (unsigned i = 0; i < count; ++i) {
    unsigned shift = m_big ? 8 * (count - 1 - i) : 8 * i;
    value |= static_cast<std::uint64_t>(bytes[i]) << shift;
  }
  return value;
}

Bytes ByteReader::slice(std::uint64_t at, std::uint64_t count) {
  Bytes bytes;
  if (m_file) {
    bytes = m_file->slice(at, count);
  } else if (has(at, count)) {
    bytes = m_bytes.subspan(at, count);
  }
  if (bytes.size() == count && has(at, count)) return bytes;
  m_ok = false;
  return {};
}

bool ByteReader::matches(std::uint64_t at, std::string_view text) {
  if (!has(at, text.size())) return false;
  if (!m_file) return std::memcmp(m_bytes.data() + at, text.data(), text.size()) == 0;
  for (std::size_t done = 0; done < text.size(); done += 8) {
    std::uint8_t bytes[8];
    auto count = static_cast<unsigned>(std::min<std::size_t>(8, text.size() - done));
    if (!m_file->copy(at + done, count, bytes) ||
        std::memcmp(bytes, text.data() + done, count) != 0)
      return false;
  }
  return true;
}

bool read_picture_facts(ByteSource& file, PictureFacts& facts) {
  ByteReader r(file, true);
  if (r.matches(0, "\xFF\xD8\xFF")) return read_jpeg_facts(file, facts);
  if (r.matches(0, "GIF8")) return read_gif_facts(file, facts);
  if (r.matches(0, std::string_view("\0\0\0\x0CjP  ", 8))) return read_jp2_facts(file, facts);
  if (r.matches(0, "\xFF\x4F\xFF\x51")) return read_j2k_facts(file, facts);
  if (r.matches(0, "II") || r.matches(0, "MM")) return read_tiff_facts(file, facts);
  if (r.matches(0, "\x89PNG\r\n\x1A\n")) return read_png_facts(file, facts);
  if (r.matches(0, "RIFF") && r.matches(8, "WEBP")) return read_webp_facts(file, facts);
  if (r.matches(0, "BM")) return read_bmp_facts(file, facts);
  if (r.matches(0, "8BPS")) return read_psd_facts(file, facts);
  if (r.matches(4, "ftyp")) return read_bmff_facts(file, facts);
  return false;
}

}  // namespace platform
