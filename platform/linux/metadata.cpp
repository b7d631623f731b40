#include "platform/metadata.h"

#include <fcntl.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

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

// A regular file mapped read-only: its pages are read only when a reader
// touches them. Anything that is not a regular file is never opened, and the
// file is opened without waiting, so a FIFO put in its place never blocks.
class FileMapping {
 public:
  explicit FileMapping(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
      void* data =
          mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
      if (data != MAP_FAILED) {
        m_data = data;
        m_size = static_cast<std::size_t>(info.st_size);
      }
    }
    close(fd);  // the mapping stays valid without the descriptor
  }
  ~FileMapping() {
    if (m_data) munmap(m_data, m_size);
  }
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;

  bool valid() const { return m_data != nullptr; }
  platform::Bytes bytes() const { return {static_cast<const std::uint8_t*>(m_data), m_size}; }

 private:
  void* m_data = nullptr;
  std::size_t m_size = 0;
};

// A file that another program cuts short while it is being read makes the
// mapped pages past its new end fault (SIGBUS). The read runs under a guard
// that turns the fault into "not understood"; what the read had allocated by
// then is lost, which is the lesser harm.
sigjmp_buf* g_bus_jump = nullptr;

void on_bus_error(int signal_number) {
  if (g_bus_jump) siglongjmp(*g_bus_jump, 1);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

bool read_facts_guarded(platform::Bytes file, platform::PictureFacts& facts) {
  struct sigaction action {}, previous {};
  action.sa_handler = on_bus_error;
  sigemptyset(&action.sa_mask);
  sigaction(SIGBUS, &action, &previous);
  sigjmp_buf jump;
  volatile bool ok = false;
  if (sigsetjmp(jump, 1) == 0) {
    g_bus_jump = &jump;
    ok = platform::read_picture_facts(file, facts);
  }
  g_bus_jump = nullptr;
  sigaction(SIGBUS, &previous, nullptr);
  return ok;
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

bool fill_metadata_item(Bytes file, __MDItem& item) {
  PictureFacts facts;
  if (!read_facts_guarded(file, facts)) return false;
  // A size past the signed 32-bit range is a broken header, not a picture.
  item.pixel_width = facts.width <= INT32_MAX ? facts.width : 0;
  item.pixel_height = facts.height <= INT32_MAX ? facts.height : 0;
  item.profile_name = facts.icc.empty() ? std::string() : icc_profile_description(facts.icc);
  return true;
}

}  // namespace platform

MDItemRef MDItemCreate(CFAllocatorRef, CFStringRef path) {
  if (!path || path->utf8.empty() || path->utf8[0] != '/') return nullptr;
  FileMapping file(path->utf8);
  if (!file.valid()) return nullptr;
  auto item = std::make_unique<__MDItem>();
  if (!platform::fill_metadata_item(file.bytes(), *item)) return nullptr;
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
