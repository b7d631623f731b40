// Plug-in bundles on the file system: folders with Contents/Info.plist, found
// in the application's PlugIns folder and under the XDG data folders.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "platform/bundle.h"
#include "platform/linux/files_internal.h"

namespace platform {
namespace {

// An Info.plist is a few kilobytes; anything far larger is not one.
constexpr std::size_t kPlistLimit = 256 * 1024;

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string decode_entities(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool matched = false;
    for (const auto& [entity, c] : kEntities) {
      if (text.substr(i).starts_with(entity)) {
        out += c;
        i += entity.size();
        matched = true;
        break;
      }
    }
    if (!matched) out += text[i++];
  }
  return out;
}

std::string read_small_file(const std::string& path) {
  int raw = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (raw < 0) return {};
  std::string bytes;
  struct stat st;
  if (::fstat(raw, &st) == 0 && S_ISREG(st.st_mode) &&
      static_cast<std::size_t>(st.st_size) <= kPlistLimit) {
    bytes.resize(static_cast<std::size_t>(st.st_size));
    ssize_t n = ::read(raw, bytes.data(), bytes.size());
    bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  }
  ::close(raw);
  return bytes;
}

std::vector<std::string> plugin_folders() {
  std::vector<std::string> folders;
  if (!main_bundle_path().empty()) folders.push_back(main_bundle_path() + "/PlugIns");
  std::string home = files::data_home();
  if (!home.empty()) folders.push_back(home + "/tavrine/PlugIns");
  for (const std::string& dir : files::data_dirs()) folders.push_back(dir + "/tavrine/PlugIns");
  return folders;
}

// The names in a folder, sorted so that the first bundle found does not
// depend on the order of the directory.
std::vector<std::string> entries_of(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (struct dirent* entry = ::readdir(dir)) {
    std::string_view name(entry->d_name);
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// Every bundle handed out lives here until the program ends.
std::map<std::string, std::unique_ptr<__CFBundle>>& bundles() {
  static std::map<std::string, std::unique_ptr<__CFBundle>> table;
  return table;
}

CFBundleRef bundle_at(const std::string& path, const std::string& identifier) {
  auto& slot = bundles()[path];
  if (!slot || slot->identifier != identifier) {
    slot = std::make_unique<__CFBundle>();
    slot->path = path;
    slot->identifier = identifier;
  }
  return slot.get();
}

}  // namespace

std::string bundle_identifier_from_plist(std::string_view plist) {
  constexpr std::string_view kKey = "<key>CFBundleIdentifier</key>";
  constexpr std::string_view kOpen = "<string>", kClose = "</string>";
  std::size_t at = plist.find(kKey);
  if (at == std::string_view::npos) return {};
  at += kKey.size();
  while (at < plist.size() && is_space(plist[at])) ++at;
  if (plist.substr(at, kOpen.size()) != kOpen) return {};
  at += kOpen.size();
  std::size_t end = plist.find(kClose, at);
  if (end == std::string_view::npos) return {};
  return decode_entities(plist.substr(at, end - at));
}

bool touch_modification_date(const std::string& path) {
  if (path.empty()) return false;
  struct timespec times[2];
  times[0].tv_nsec = UTIME_OMIT;  // keep the access time
  times[0].tv_sec = 0;
  times[1].tv_nsec = UTIME_NOW;
  times[1].tv_sec = 0;
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace platform

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID) {
  if (!bundleID || bundleID->utf8.empty()) return nullptr;
  for (const std::string& folder : platform::plugin_folders()) {
    for (const std::string& name : platform::entries_of(folder)) {
      std::string path = folder + "/" + name;
      std::string plist = platform::read_small_file(path + "/Contents/Info.plist");
      if (platform::bundle_identifier_from_plist(plist) == bundleID->utf8)
        return platform::bundle_at(path, bundleID->utf8);
    }
  }
  return nullptr;
}

CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName) {
  if (!bundle || !resourceName || resourceName->utf8.empty()) return nullptr;
  std::string file = resourceName->utf8;
  if (resourceType && !resourceType->utf8.empty()) file += "." + resourceType->utf8;
  std::string folder = bundle->path + "/Contents/Resources";
  if (subDirName && !subDirName->utf8.empty()) folder += "/" + subDirName->utf8;
  if (file.find('/') != std::string::npos || file == "..") return nullptr;
  std::string path = folder + "/" + file;
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  CFStringRef text = CFStringCreateWithUTF8(path);
  CFURLRef url =
      CFURLCreateWithFileSystemPath(kCFAllocatorDefault, text, kCFURLPOSIXPathStyle, false);
  CFRelease(text);
  return url;
}
