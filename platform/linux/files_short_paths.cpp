// Paths in short texts: writing a path that has no Mac Roman form, or is
// longer than 255 characters, with shortened components, and resolving such
// paths component by component. The walk goes from folder descriptor to
// folder descriptor, so its cost grows with the number of components, not
// with their square, and a path longer than PATH_MAX is still walked.
//
// A path too deep for even the shortest forms begins with an anchor: its
// first component "@<HEX directory ID>:<volume>" names a folder through the
// directory catalog, and each "~" after it one more folder on that folder's
// path. The path still has one "/" for each of its folders, so it can be cut
// at any of them: "/@1A2B:7/~" is the second folder of the anchor's path.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <span>
#include <vector>

#include "platform/linux/files_internal.h"
#include "platform/text.h"

namespace platform::files {
namespace {

constexpr std::size_t kShortTextLimit = 255;
// Components are written in their specifications' form first: at most this.
constexpr std::size_t kComponentLimit = 63;
constexpr char kAnchorMark = '@';
constexpr std::string_view kPlaceholder = "~";

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
    bool found =
        any_entry(folder, every_entry, [&](std::string_view candidate, std::uint64_t listed) {
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
  ino_t inode = 0;   // the entry's own
  dev_t device = 0;  // the item's, after links
  ino_t target = 0;
  std::string mac;          // its form in the short text
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

std::size_t length_within(std::span<const Component> parts, std::size_t cut) {
  std::size_t length = 0;
  for (const Component& part : parts) length += 1 + part.length_within(cut);
  return length;
}

// Cuts the longest components first: every component keeps its form up to
// the largest cut at which they all fit in `room` characters. False when even
// the shortest forms do not fit.
bool fit(std::span<Component> parts, std::size_t room) {
  if (length_within(parts, kShortTextLimit) <= room) return true;
  if (length_within(parts, 0) > room) return false;
  std::size_t low = 0, high = kShortTextLimit;  // fits at low, not at high
  while (high - low > 1) {
    std::size_t middle = (low + high) / 2;
    (length_within(parts, middle) <= room ? low : high) = middle;
  }
  for (Component& part : parts) {
    if (part.length_within(low) < part.mac.size())
      part.mac = shortened_name(part.name, part.inode, part.length_within(low));
  }
  return true;
}

std::string anchor_name(SInt16 volume, SInt32 dir_id) {
  char text[32];
  std::snprintf(text, sizeof text, "%c%X:%d", kAnchorMark, static_cast<unsigned>(dir_id), volume);
  return text;
}

bool parse_anchor(std::string_view name, SInt16& volume, SInt32& dir_id) {
  std::size_t colon = name.find(':');
  if (name.size() < 4 || name[0] != kAnchorMark || colon == std::string_view::npos) return false;
  std::uint32_t id = 0;
  const char* end = name.data() + colon;
  auto [after_id, id_error] = std::from_chars(name.data() + 1, end, id, 16);
  auto [after_volume, volume_error] = std::from_chars(end + 1, name.data() + name.size(), volume);
  dir_id = static_cast<SInt32>(id);
  return id_error == std::errc() && after_id == end && volume_error == std::errc() &&
         after_volume == name.data() + name.size();
}

// The start of a deep path whose first `covered` folders the anchor stands
// for (the catalog learns the last of them); the rest must fit after it.
std::optional<std::string> anchored(std::span<Component> parts, std::size_t covered,
                                    const std::vector<std::string>& names) {
  std::string folder;
  for (std::size_t i = 0; i < covered; ++i) (folder += '/') += names[i];
  const Component& last = parts[covered - 1];
  SInt16 volume = volume_for(last.device, folder);
  SInt32 dir_id = folder_id(folder);  // the catalog learns the folder here
  if (dir_id == 0) return std::nullopt;
  std::string head = "/" + anchor_name(volume, dir_id);
  for (std::size_t i = 1; i < covered; ++i) (head += '/') += kPlaceholder;
  if (head.size() > kShortTextLimit || !fit(parts.subspan(covered), kShortTextLimit - head.size()))
    return std::nullopt;
  return head;
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
    parts.back().device = st.st_dev;
    parts.back().target = st.st_ino;
    if (i + 1 < names.size() && !(folder = open_folder(folder.get(), names[i].c_str())).valid())
      return false;
  }
  return true;
}

std::string joined(std::span<const Component> parts) {
  std::string mac;
  for (const Component& part : parts) (mac += '/') += part.mac;
  return mac;
}

bool leads_to(const std::string& mac, const struct stat& item) {
  std::string real;
  struct stat reached;
  return resolve_short_path(mac_roman_to_utf8(mac), real, reached) == noErr &&
         reached.st_dev == item.st_dev && reached.st_ino == item.st_ino;
}

// The short form: the components fitted, or an anchor for as few folders
// as lets the rest fit. `first` is the first component after the anchor.
std::optional<std::string> fitted(std::vector<Component>& parts,
                                  const std::vector<std::string>& names, std::size_t& first) {
  first = 0;
  if (fit(parts, kShortTextLimit)) return std::string();
  for (first = 1; first < parts.size(); ++first) {
    if (2 * first > kShortTextLimit) break;  // "/~" for each folder covered
    if (std::optional<std::string> head = anchored(parts, first, names)) return head;
  }
  return std::nullopt;
}

std::optional<std::string> short_path_of(std::string_view utf8) {
  std::vector<std::string> names;
  std::vector<Component> parts;
  struct stat item;
  std::size_t first = 0;
  std::optional<std::string> head;
  if (!split_path(utf8, names) || !components_of(names, parts, item) ||
      !(head = fitted(parts, names, first)))
    return std::nullopt;
  std::span<Component> rest = std::span(parts).subspan(first);
  std::string mac = *head + joined(rest);
  if (mac.empty()) mac = "/";
  if (leads_to(mac, item)) return mac;
  // Some entry bears a shortened form as its real name, and the path would
  // lead there. Once more with only "#<HEX inode>" for each shortened
  // component; if that too leads elsewhere, no such path is handed out.
  for (Component& part : rest) {
    std::string plain;
    if (!utf8_to_mac_roman_exact(part.name, plain) || plain != part.mac)
      part.mac = shortened_name(part.name, part.inode, 0);
  }
  mac = *head + joined(rest);
  if (leads_to(mac, item)) return mac;
  return std::nullopt;
}

// The folders an anchor and the placeholders after it stand for, from the
// start of `names`: fills real and the folder reached, and says how many
// names they take (0 when the first name is no anchor the catalog knows).
std::size_t resolve_anchor(const std::vector<std::string>& names, std::string& real,
                           UniqueFd& folder) {
  SInt16 volume = 0;
  SInt32 dir_id = 0;
  if (names.empty() || !parse_anchor(names[0], volume, dir_id)) return 0;
  std::optional<std::string> path = directory_path(volume, dir_id);
  std::vector<std::string> folders;
  if (!path || !split_path(*path, folders) || folders.empty()) return 0;
  std::size_t taken = 1;
  while (taken < folders.size() && taken < names.size() && names[taken] == kPlaceholder) ++taken;
  std::string reached;
  for (std::size_t i = 0; i < taken; ++i) (reached += '/') += folders[i];
  UniqueFd opened = open_folder(AT_FDCWD, reached.c_str());
  if (!opened.valid()) return 0;
  real = std::move(reached);
  folder = std::move(opened);
  return taken;
}

}  // namespace

OSErr resolve_short_path(std::string_view path, std::string& real, struct stat& st) {
  std::vector<std::string> names;
  if (!split_path(path, names)) return fnfErr;
  UniqueFd folder = open_folder(AT_FDCWD, "/");
  if (!folder.valid() || ::fstat(folder.get(), &st) != 0) return status_from_errno(errno);
  real.clear();
  std::size_t first = 0;
  if (!names.empty() && ::fstatat(folder.get(), names[0].c_str(), &st, 0) != 0 &&
      (first = resolve_anchor(names, real, folder)) != 0 && ::fstat(folder.get(), &st) != 0)
    return status_from_errno(errno);
  for (std::size_t i = first; i < names.size(); ++i) {
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
  if (text.empty() || text[0] != '/' || text.find_first_of("#@") == std::string::npos) return text;
  std::string real;
  struct stat st;
  if (files::resolve_short_path(text, real, st) != noErr) return text;
  return real;
}

}  // namespace platform
