// Paths in short texts: writing a path that has no Mac Roman form, or is
// longer than 255 characters, with shortened components, and resolving such
// paths component by component. The walk goes from folder descriptor to
// folder descriptor, so its cost grows with the number of components, not
// with their square, and a path longer than PATH_MAX is still walked.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/linux/files_internal.h"
#include "platform/text.h"

namespace platform::files {
namespace {

constexpr std::size_t kShortTextLimit = 255;
// Components are written in their specifications' form first: at most this.
constexpr std::size_t kComponentLimit = 63;

// The names of an absolute path, without empty components. False for a
// relative path and for "." or "..", which a folder count cannot follow.
bool split_path(std::string_view path, std::vector<std::string>& names) {
  names.clear();
  if (path.empty() || path[0] != '/') return false;
  std::size_t at = 0;
  while (at < path.size()) {
    std::size_t slash = std::min(path.find('/', at), path.size());
    std::string_view name = path.substr(at, slash - at);
    if (name == "." || name == "..") return false;
    if (!name.empty()) names.emplace_back(name);
    at = slash + 1;
  }
  return true;
}

UniqueFd open_folder(int at, const char* name) {
  return UniqueFd(::openat(at, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

OSErr folder_status(int error) {
  if (error == ENOTDIR) return dirNFErr;
  return status_from_errno(error);
}

// Calls visit(name, inode) for each entry of a folder until it returns true,
// from the start when `rewind` (a fresh descriptor is there already). The
// entries come straight from getdents64: the walk reads each folder through
// the descriptor it already holds.
template <typename Visit>
bool any_entry(int folder, bool rewind, Visit visit) {
  if (rewind && ::lseek(folder, 0, SEEK_SET) != 0) return false;
  alignas(struct dirent64) char buffer[8192];
  for (ssize_t n; (n = ::getdents64(folder, buffer, sizeof buffer)) > 0;) {
    for (ssize_t at = 0; at < n;) {
      const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
      at += entry->d_reclen;
      std::string_view name(entry->d_name);
      if (name != "." && name != ".." && visit(name, entry->d_ino)) return true;
    }
  }
  return false;
}

// The entry of the folder whose own shortened form, cut to the same length,
// is `mac` and whose inode is the one that form names: the entry's own, not
// that of what a link leads to, so that a link and its folder never stand for
// each other. The first pass trusts the folder's inode numbers and stats only
// their matches; the second, for file systems whose numbers differ from
// stat's, looks at every entry. Fills st with the item's (after links).
bool find_shortened(int folder, std::string_view mac, std::string& name, struct stat& st) {
  std::optional<std::uint64_t> inode = shortened_inode(mac);
  if (!inode) return false;
  for (bool every_entry : {false, true}) {
    bool found = any_entry(folder, every_entry, [&](std::string_view candidate, std::uint64_t listed) {
      if (!every_entry && listed != *inode) return false;
      name = candidate;
      return ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
             st.st_ino == *inode && shortened_name(candidate, st.st_ino, mac.size()) == mac;
    });
    if (found) return !S_ISLNK(st.st_mode) || ::fstatat(folder, name.c_str(), &st, 0) == 0;
  }
  return false;
}

// One component of a path being written as a short text.
struct Component {
  std::string name;  // the real name
  ino_t inode = 0;
  std::string mac;   // its form in the short text
  std::size_t tail = 0;     // "#<HEX>.ext": below this only "#<HEX>" is left
  std::size_t minimum = 0;  // "#<HEX>"

  // The length of its form when cut to `limit`.
  std::size_t length_within(std::size_t limit) const {
    if (mac.size() <= limit) return mac.size();
    std::size_t cut = limit >= tail ? limit : minimum;
    return std::min(cut, mac.size());
  }
};

Component component_of(std::string name, const struct stat& st) {
  Component part;
  part.name = std::move(name);
  part.inode = st.st_ino;
  std::string shortened = shortened_name(part.name, part.inode, kComponentLimit);
  part.tail = shortened.size() - shortened.rfind('#');
  part.minimum = shortened_name(part.name, part.inode, 0).size();
  if (!utf8_to_mac_roman_exact(part.name, part.mac)) part.mac = std::move(shortened);
  return part;
}

std::size_t length_within(const std::vector<Component>& parts, std::size_t limit) {
  std::size_t length = 0;
  for (const Component& part : parts) length += 1 + part.length_within(limit);
  return std::max<std::size_t>(length, 1);
}

// Cuts the longest components first: every component keeps its form up to
// the largest limit at which the whole path fits. False when even the
// shortest forms do not fit.
bool fit(std::vector<Component>& parts) {
  if (length_within(parts, kShortTextLimit) <= kShortTextLimit) return true;
  if (length_within(parts, 0) > kShortTextLimit) return false;
  std::size_t low = 0, high = kShortTextLimit;  // fits at low, not at high
  while (high - low > 1) {
    std::size_t middle = (low + high) / 2;
    (length_within(parts, middle) <= kShortTextLimit ? low : high) = middle;
  }
  for (Component& part : parts) {
    if (part.length_within(low) < part.mac.size())
      part.mac = shortened_name(part.name, part.inode, part.length_within(low));
  }
  return true;
}

// The components of an existing item's path, each with its entry's own
// inode. Fills st with the item's (after links).
bool components_of(const std::vector<std::string>& names, std::vector<Component>& parts,
                   struct stat& st) {
  UniqueFd folder = open_folder(AT_FDCWD, "/");
  if (!folder.valid() || ::fstat(folder.get(), &st) != 0) return false;
  for (std::size_t i = 0; i < names.size(); ++i) {
    struct stat entry;
    if (::fstatat(folder.get(), names[i].c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
        ::fstatat(folder.get(), names[i].c_str(), &st, 0) != 0)
      return false;
    parts.push_back(component_of(names[i], entry));
    if (i + 1 < names.size() && !(folder = open_folder(folder.get(), names[i].c_str())).valid())
      return false;
  }
  return true;
}

std::string joined(const std::vector<Component>& parts) {
  std::string mac;
  for (const Component& part : parts) (mac += '/') += part.mac;
  return mac.empty() ? "/" : mac;
}

bool leads_to(const std::string& mac, const struct stat& item) {
  std::string real;
  struct stat reached;
  return resolve_short_path(mac_roman_to_utf8(mac), real, reached) == noErr &&
         reached.st_dev == item.st_dev && reached.st_ino == item.st_ino;
}

std::optional<std::string> short_path_of(std::string_view utf8) {
  std::vector<std::string> names;
  std::vector<Component> parts;
  struct stat item;
  if (!split_path(utf8, names) || !components_of(names, parts, item) || !fit(parts))
    return std::nullopt;
  std::string mac = joined(parts);
  if (leads_to(mac, item)) return mac;
  // Some entry bears a shortened form as its real name, and the path would
  // lead there. Once more with only "#<HEX inode>" for each shortened
  // component; if that too leads elsewhere, no such path is handed out.
  for (Component& part : parts) {
    std::string plain;
    if (!utf8_to_mac_roman_exact(part.name, plain) || plain != part.mac)
      part.mac = shortened_name(part.name, part.inode, 0);
  }
  mac = joined(parts);
  if (leads_to(mac, item)) return mac;
  return std::nullopt;
}

}  // namespace

OSErr resolve_short_path(std::string_view path, std::string& real, struct stat& st) {
  std::vector<std::string> names;
  if (!split_path(path, names)) return fnfErr;
  UniqueFd folder = open_folder(AT_FDCWD, "/");
  if (!folder.valid() || ::fstat(folder.get(), &st) != 0) return status_from_errno(errno);
  real.clear();
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string name = names[i];
    if (::fstatat(folder.get(), name.c_str(), &st, 0) != 0) {
      if (errno != ENOENT) return folder_status(errno);
      std::string mac;
      if (!utf8_to_mac_roman_exact(name, mac) || !find_shortened(folder.get(), mac, name, st))
        return fnfErr;
    }
    (real += '/') += name;
    if (i + 1 == names.size()) break;
    if (!S_ISDIR(st.st_mode)) return dirNFErr;
    folder = open_folder(folder.get(), name.c_str());
    if (!folder.valid()) return folder_status(errno);
  }
  if (real.empty()) real = "/";
  return noErr;
}

}  // namespace platform::files

namespace platform {

std::string short_text_of(std::string_view utf8) {
  std::string mac;
  bool exact = utf8_to_mac_roman_exact(utf8, mac);
  if (exact && mac.size() <= files::kShortTextLimit) return mac;
  if (std::optional<std::string> path = files::short_path_of(utf8)) return *path;
  return exact ? mac : utf8_to_mac_roman_lossy(utf8);
}

std::string text_of_short_text(std::string_view mac_roman) {
  std::string text = mac_roman_to_utf8(mac_roman);
  if (text.empty() || text[0] != '/' || text.find('#') == std::string::npos) return text;
  std::string real;
  struct stat st;
  if (files::resolve_short_path(text, real, st) != noErr) return text;
  return real;
}

}  // namespace platform
