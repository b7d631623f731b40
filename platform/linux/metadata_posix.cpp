#include "platform/metadata.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "platform/linux/files_internal.h"
#include "platform/linux/picture_reader.h"

namespace {

// The attribute names live for the whole run; a release never frees them.
struct AttributeName : __CFString {
  explicit AttributeName(const char* text) {
    utf8 = text;
    references = 1L << 40;
  }
};
AttributeName g_pixel_width("kMDItemPixelWidth");
AttributeName g_pixel_height("kMDItemPixelHeight");
AttributeName g_profile_name("kMDItemProfileName");

// Opens a regular file for reading. Anything that is not a regular file is
// never opened, and the file is opened without waiting, so a FIFO put in its
// place never blocks. The readers do their own read-ahead, so the kernel is
// told not to add its own.
platform::files::UniqueFd open_picture(const std::string& path, std::uint64_t& size) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  platform::files::UniqueFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd.valid() || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0)
    return {};
  posix_fadvise(fd.get(), 0, 0, POSIX_FADV_RANDOM);
  size = static_cast<std::uint64_t>(info.st_size);
  return fd;
}

CFNumberRef copy_dimension(std::int64_t value) {
  return value > 0 ? CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt64Type, &value) : nullptr;
}

bool same_name(CFStringRef name, CFStringRef attribute) {
  return name == attribute || name->utf8 == attribute->utf8;
}

}  // namespace

const CFStringRef kMDItemPixelWidth = &g_pixel_width;
const CFStringRef kMDItemPixelHeight = &g_pixel_height;
const CFStringRef kMDItemProfileName = &g_profile_name;

namespace platform {

bool fill_metadata_item(ByteSource& file, __MDItem& item) {
  PictureFacts facts;
  // Values read from a file that shrank under the reader may mix two
  // versions of it; none is better.
  if (!read_picture_facts(file, facts) || file.cut_short()) return false;
  // A size past the signed 32-bit range is a broken header, not a picture.
  item.pixel_width = facts.width <= INT32_MAX ? facts.width : 0;
  item.pixel_height = facts.height <= INT32_MAX ? facts.height : 0;
  item.profile_name = facts.icc.empty() ? std::string() : icc_profile_description(facts.icc);
  return true;
}

bool fill_metadata_item(Bytes file, __MDItem& item) {
  ByteSource source(file);
  return fill_metadata_item(source, item);
}

}  // namespace platform

MDItemRef MDItemCreate(CFAllocatorRef, CFStringRef path) {
  if (!path || path->utf8.empty() || path->utf8[0] != '/') return nullptr;
  std::uint64_t size = 0;
  platform::files::UniqueFd fd = open_picture(path->utf8, size);
  if (!fd.valid()) return nullptr;
  platform::ByteSource file(fd.get(), size);
  auto item = std::make_unique<__MDItem>();
  if (!platform::fill_metadata_item(file, *item)) return nullptr;
  return static_cast<MDItemRef>(
      const_cast<platform::CFObject*>(platform::adopt_cf_object(std::move(item))));
}

CFTypeRef MDItemCopyAttribute(MDItemRef item, CFStringRef name) {
  if (!item || !name) return nullptr;
  if (same_name(name, kMDItemPixelWidth)) return copy_dimension(item->pixel_width);
  if (same_name(name, kMDItemPixelHeight)) return copy_dimension(item->pixel_height);
  if (same_name(name, kMDItemProfileName) && !item->profile_name.empty())
    return CFStringCreateWithUTF8(item->profile_name);
  return nullptr;
}
