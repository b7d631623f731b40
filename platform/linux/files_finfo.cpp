// Finder information: the file type from the content (the signatures of the
// formats we name, the extension, then GIO's content type) and the creator
// code from netatalk's extended attribute.
#include <fcntl.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string_view>

#include "platform/linux/files_internal.h"

namespace platform::files {
namespace {

// Enough of the file's start for content sniffing.
constexpr std::size_t kSniffBytes = 4096;
// netatalk's header with its entries is well under this.
constexpr std::size_t kAppleDoubleLimit = 4096;
constexpr std::uint32_t kAppleDoubleMagic = 0x00051607;
constexpr std::uint32_t kFinderInfoEntry = 9;

struct TypeRow {
  std::string_view key;
  OSType type;
};

constexpr TypeRow kContentTypes[] = {
    {"image/jpeg", FOUR_CHAR_CODE("JPEG")},
    {"image/tiff", FOUR_CHAR_CODE("TIFF")},
    {"image/png", FOUR_CHAR_CODE("PNGf")},
    {"image/vnd.adobe.photoshop", FOUR_CHAR_CODE("8BPS")},
    {"image/x-photoshop", FOUR_CHAR_CODE("8BPS")},
    {"image/gif", FOUR_CHAR_CODE("GIFf")},
    {"application/pdf", FOUR_CHAR_CODE("PDF ")},
    {"image/bmp", FOUR_CHAR_CODE("BMP ")},
    {"image/x-bmp", FOUR_CHAR_CODE("BMP ")},
    {"image/x-ms-bmp", FOUR_CHAR_CODE("BMP ")},
    {"image/x-eps", FOUR_CHAR_CODE("EPSF")},
    {"application/postscript", FOUR_CHAR_CODE("EPSF")},
    {"image/jp2", FOUR_CHAR_CODE("jp2 ")},
    {"image/x-pict", FOUR_CHAR_CODE("PICT")},
    {"text/plain", FOUR_CHAR_CODE("TEXT")},
    {"application/x-desktop", FOUR_CHAR_CODE("APPL")},
};

// Signatures at the start of the formats we name, checked before anything
// else so that the answer does not depend on the desktop's MIME database.
constexpr TypeRow kSignatures[] = {
    {"\xFF\xD8\xFF", FOUR_CHAR_CODE("JPEG")},
    {"\x89PNG\r\n\x1A\n", FOUR_CHAR_CODE("PNGf")},
    {std::string_view("II*\0", 4), FOUR_CHAR_CODE("TIFF")},
    {std::string_view("MM\0*", 4), FOUR_CHAR_CODE("TIFF")},
    {std::string_view("II+\0", 4), FOUR_CHAR_CODE("TIFF")},  // BigTIFF
    {std::string_view("MM\0+", 4), FOUR_CHAR_CODE("TIFF")},
    {"8BPS", FOUR_CHAR_CODE("8BPS")},
    {"GIF87a", FOUR_CHAR_CODE("GIFf")},
    {"GIF89a", FOUR_CHAR_CODE("GIFf")},
    {"%PDF-", FOUR_CHAR_CODE("PDF ")},
    {"%!PS-Adobe", FOUR_CHAR_CODE("EPSF")},
    {"\xC5\xD0\xD3\xC6", FOUR_CHAR_CODE("EPSF")},  // EPS with a preview
};

constexpr TypeRow kExtensions[] = {
    {"jpg", FOUR_CHAR_CODE("JPEG")},     {"jpeg", FOUR_CHAR_CODE("JPEG")},
    {"jpe", FOUR_CHAR_CODE("JPEG")},     {"tif", FOUR_CHAR_CODE("TIFF")},
    {"tiff", FOUR_CHAR_CODE("TIFF")},    {"png", FOUR_CHAR_CODE("PNGf")},
    {"psd", FOUR_CHAR_CODE("8BPS")},     {"psb", FOUR_CHAR_CODE("8BPS")},
    {"gif", FOUR_CHAR_CODE("GIFf")},     {"pdf", FOUR_CHAR_CODE("PDF ")},
    {"bmp", FOUR_CHAR_CODE("BMP ")},     {"eps", FOUR_CHAR_CODE("EPSF")},
    {"jp2", FOUR_CHAR_CODE("jp2 ")},     {"pct", FOUR_CHAR_CODE("PICT")},
    {"pict", FOUR_CHAR_CODE("PICT")},    {"txt", FOUR_CHAR_CODE("TEXT")},
    {"desktop", FOUR_CHAR_CODE("APPL")},
};

OSType lookup(const auto& table, std::string_view key) {
  for (const TypeRow& row : table) {
    if (row.key == key) return row.type;
  }
  return 0;
}

std::uint32_t get_be32(const std::uint8_t* at) {
  return (static_cast<std::uint32_t>(at[0]) << 24) | (static_cast<std::uint32_t>(at[1]) << 16) |
         (static_cast<std::uint32_t>(at[2]) << 8) | at[3];
}

// The first bytes of a regular file; nothing for anything else.
std::string first_bytes(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat st;
  if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  std::string bytes(kSniffBytes, '\0');
  ssize_t n = ::read(fd.get(), bytes.data(), bytes.size());
  bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return bytes;
}

bool is_program(const std::string& bytes, const struct stat& st) {
  if ((st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0) return false;
  return bytes.starts_with(
             "\x7f"
             "ELF") ||
         bytes.starts_with("#!");
}

OSType signature_type(const std::string& bytes) {
  for (const TypeRow& row : kSignatures) {
    if (bytes.starts_with(row.key)) return row.type;
  }
  // "BM" alone starts too many texts: a bitmap also has four zero bytes at 6.
  if (bytes.size() >= 14 && bytes.starts_with("BM") && bytes.compare(6, 4, "\0\0\0\0", 4) == 0)
    return FOUR_CHAR_CODE("BMP ");
  return 0;
}

OSType sniffed_type(const std::string& name, const std::string& bytes) {
  gboolean uncertain = false;
  auto* data = reinterpret_cast<const guchar*>(bytes.data());
  std::unique_ptr<gchar, decltype(&g_free)> type(
      g_content_type_guess(name.c_str(), data, bytes.size(), &uncertain), g_free);
  if (!type) return 0;
  std::unique_ptr<gchar, decltype(&g_free)> mime(g_content_type_get_mime_type(type.get()), g_free);
  return mime ? lookup(kContentTypes, mime.get()) : 0;
}

OSType extension_type(const std::string& name) {
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return 0;
  std::string extension = name.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lookup(kExtensions, extension);
}

OSType file_type(const std::string& path, const struct stat& st) {
  std::string name = name_of(path);
  if (is_desktop_file(name)) return FOUR_CHAR_CODE("APPL");
  std::string bytes = first_bytes(path);
  if (is_program(bytes, st)) return FOUR_CHAR_CODE("APPL");
  if (OSType type = signature_type(bytes)) return type;
  if (OSType type = extension_type(name)) return type;
  return sniffed_type(name, bytes);
}

OSType creator_code(const std::string& path) {
  std::uint8_t bytes[kAppleDoubleLimit];
  for (const char* attribute : {"user.org.netatalk.Metadata", "org.netatalk.Metadata"}) {
    ssize_t n = ::getxattr(path.c_str(), attribute, bytes, sizeof bytes);
    OSType type = 0, creator = 0;
    if (n > 0 &&
        finder_info_from_apple_double({bytes, static_cast<std::size_t>(n)}, type, creator)) {
      return creator;
    }
  }
  return 0;
}

}  // namespace

bool finder_info_from_apple_double(std::span<const std::uint8_t> bytes, OSType& type,
                                   OSType& creator) {
  // magic, version, 16 bytes of filler, the number of entries, then entries
  // of (id, offset, length), all big-endian.
  constexpr std::size_t kHeader = 26, kEntry = 12;
  if (bytes.size() < kHeader || get_be32(bytes.data()) != kAppleDoubleMagic) return false;
  std::size_t entries = (static_cast<std::size_t>(bytes[24]) << 8) | bytes[25];
  for (std::size_t i = 0; i < entries; ++i) {
    std::size_t at = kHeader + i * kEntry;
    if (at + kEntry > bytes.size()) return false;
    if (get_be32(bytes.data() + at) != kFinderInfoEntry) continue;
    std::uint64_t offset = get_be32(bytes.data() + at + 4);
    std::uint64_t length = get_be32(bytes.data() + at + 8);
    if (length < 8 || offset + 8 > bytes.size()) return false;
    type = get_be32(bytes.data() + offset);
    creator = get_be32(bytes.data() + offset + 4);
    return true;
  }
  return false;
}

}  // namespace platform::files

OSErr FSpGetFInfo(const FSSpec* spec, FInfo* info) {
  if (!spec || !info) return paramErr;
  FSRef ref;
  struct stat st;
  OSErr err = platform::files::resolve_spec(*spec, ref, &st);
  if (err != noErr) return err;
  if (S_ISDIR(st.st_mode)) return fnfErr;
  *info = FInfo{};
  info->fdType = platform::files::file_type(ref.path, st);
  info->fdCreator = platform::files::creator_code(ref.path);
  return noErr;
}
