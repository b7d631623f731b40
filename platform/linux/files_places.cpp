// Where things are: the XDG folders, the places where applications live, how
// an item is identified (device, inode and a witness of the inode's owner),
// and the bounded search for a folder that moved.
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstdlib>
#include <set>

#include "platform/linux/files_internal.h"
#include "platform/places.h"

namespace platform::files {
namespace {

// At most this many places are looked at in one search: the XDG application
// folders and $PATH of a usual desktop, the old place and its parents, and
// the recently used folders fit with room to spare.
constexpr std::size_t kSearchPlaces = 64;
// At most this many folder entries are read in one search: /usr/bin of a
// large desktop holds some 3,000; the bound keeps a search to a few
// milliseconds even on a full $PATH.
constexpr std::size_t kSearchEntries = 20000;

std::string xdg_home(const char* variable, const char* under_home) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return value;
  std::string home = home_folder();
  return home.empty() ? std::string() : home + under_home;
}

// The absolute folders of a colon-separated list.
std::vector<std::string> split_folders(std::string_view list) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at <= list.size()) {
    std::size_t colon = std::min(list.find(':', at), list.size());
    std::string_view dir = list.substr(at, colon - at);
    if (!dir.empty() && dir[0] == '/') out.emplace_back(dir);
    at = colon + 1;
  }
  return out;
}

// The inode generation, for file systems that keep no birth time.
Witness generation_of(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
  int generation = 0;
  if (!fd.valid() || ::ioctl(fd.get(), FS_IOC_GETVERSION, &generation) != 0) return {};
  return {'g', generation};
}

class Search {
 public:
  Search(SInt16 volume, SInt32 low_inode, const std::function<bool(const ItemId&)>& accept)
      : m_volume(volume), m_low_inode(low_inode), m_accept(accept) {}

  // Looks at a place and the folders inside it.
  bool look_in(const std::string& place, std::string& found) {
    ItemId id;
    if (identify(place, id) != noErr || !id.is_folder) return false;
    if (volume_for(id.device, place) != m_volume) return false;
    if (takes(id)) {
      found = place;
      return true;
    }
    return look_inside(place, id.device, found);
  }

  bool exhausted() const { return m_entries >= kSearchEntries; }

 private:
  bool takes(const ItemId& id) const {
    return directory_id(id.inode) == m_low_inode && m_accept(id);
  }

  bool look_inside(const std::string& place, dev_t device, std::string& found) {
    DIR* dir = ::opendir(place.c_str());
    if (!dir) return false;
    bool hit = false;
    while (!hit && m_entries < kSearchEntries) {
      struct dirent* entry = ::readdir(dir);
      if (!entry) break;
      ++m_entries;
      std::string_view name(entry->d_name);
      if (name == "." || name == ".." || directory_id(entry->d_ino) != m_low_inode) continue;
      if (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN) continue;
      std::string path = join(place, name);
      ItemId id;
      if (identify(path, id) != noErr || !id.is_folder || id.device != device) continue;
      if (takes(id)) {
        found = std::move(path);
        hit = true;
      }
    }
    ::closedir(dir);
    return hit;
  }

  SInt16 m_volume;
  SInt32 m_low_inode;
  const std::function<bool(const ItemId&)>& m_accept;
  std::size_t m_entries = 0;
};

}  // namespace

}  // namespace platform::files

namespace platform {

std::string config_home() {
  return files::xdg_home("XDG_CONFIG_HOME", "/.config");
}

}  // namespace platform

namespace platform::files {

std::string state_home() {
  return xdg_home("XDG_STATE_HOME", "/.local/state");
}
std::string cache_home() {
  return xdg_home("XDG_CACHE_HOME", "/.cache");
}
std::string data_home() {
  return xdg_home("XDG_DATA_HOME", "/.local/share");
}

std::vector<std::string> data_dirs() {
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  return split_folders(dirs && dirs[0] ? dirs : "/usr/local/share/:/usr/share/");
}

std::vector<std::string> application_places() {
  std::vector<std::string> places;
  std::string home = data_home();
  if (!home.empty()) places.push_back(join(home, "applications"));
  for (const std::string& dir : data_dirs()) places.push_back(join(dir, "applications"));
  const char* path = std::getenv("PATH");
  for (std::string& dir : split_folders(path ? path : "")) places.push_back(std::move(dir));
  return places;
}

OSErr identify(const std::string& path, ItemId& id) {
  struct statx stx;
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0)
    return status_from_errno(errno);
  id.device = makedev(stx.stx_dev_major, stx.stx_dev_minor);
  id.inode = stx.stx_ino;
  id.is_folder = S_ISDIR(stx.stx_mode);
  id.witness = {};
  if (!id.is_folder) return noErr;
  if (stx.stx_mask & STATX_BTIME) {
    id.witness = {'b', stx.stx_btime.tv_sec * 1000000000LL + stx.stx_btime.tv_nsec};
  } else {
    id.witness = generation_of(path);
  }
  return noErr;
}

std::optional<std::string> find_moved_folder(const std::vector<std::string>& places, SInt16 volume,
                                             SInt32 low_inode,
                                             const std::function<bool(const ItemId&)>& accept) {
  Search search(volume, low_inode, accept);
  std::set<std::string> seen;
  std::string found;
  for (const std::string& place : places) {
    if (seen.size() == kSearchPlaces || search.exhausted()) break;
    if (!seen.insert(place).second) continue;
    if (search.look_in(place, found)) return found;
  }
  return std::nullopt;
}

}  // namespace platform::files
