// Shared pieces of the File Manager's Linux backing: paths, the volume table,
// the directory catalog and the names of file specifications. Not part of the
// platform's interface; tests and fuzz targets reach the parsers through it.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace platform::files {

// An owned file descriptor, closed when it goes.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : m_fd(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  int get() const { return m_fd; }
  bool valid() const { return m_fd >= 0; }
  int release() {
    int fd = m_fd;
    m_fd = -1;
    return fd;
  }
  // Closes the descriptor held; returns close(2)'s result (0 when none).
  int reset(int fd = -1) {
    int result = 0;
    if (m_fd >= 0) result = ::close(m_fd);
    m_fd = fd;
    return result;
  }

 private:
  int m_fd = -1;
};

// Writes count bytes at the offset `at` (pwrite(2), again after EINTR) and
// says in `done` how many were written. Honours the write faults
// (platform/faults.h): the bytes the fault allows are written, then its
// status is returned, or the process ends with _exit(75).
OSErr write_all(int fd, off_t at, const std::uint8_t* bytes, std::size_t count, std::size_t& done);

// Paths.

// The folder part and the last name of an absolute, normalised path. The
// folder of "/x" is "/"; "/" has no name.
std::string parent_of(const std::string& path);
std::string name_of(const std::string& path);
// folder + "/" + name, without doubling the slash of the root.
std::string join(const std::string& folder, std::string_view name);

// True for the path or name of a desktop entry file (".desktop").
inline bool is_desktop_file(std::string_view path) {
  return path.ends_with(".desktop");
}

// Fills ref from the item at an absolute, normalised path (stat, following
// links). The status of stat(2) on failure.
OSErr make_ref(const std::string& path, FSRef& ref, struct stat* st = nullptr);
// Checks that ref still leads to its device and inode (fnfErr when not; also
// for an empty reference). Fills st when given.
OSErr verify_ref(const FSRef& ref, struct stat* st = nullptr);

// UTF-16 text as UTF-8; false for unpaired surrogates.
bool utf16_to_utf8(const UniChar* text, UniCharCount length, std::string& out);
// Makes the folder at an absolute, normalised path and every missing folder
// above it with `mode`; noErr when it is there already. dirNFErr when
// something that is not a folder stands in the way.
OSErr make_folders(const std::string& path, mode_t mode);
// True for a name that can stand in a folder: not empty, not "." or "..",
// without "/" or NUL.
bool valid_item_name(std::string_view name);

// Volumes and the directory catalog.

// What tells a folder from a later one that takes its freed inode: the birth
// time ('b', nanoseconds) where the file system keeps one, else the inode
// generation ('g'), else nothing ('-'). '?' stands for a witness not recorded
// yet (a catalog line of an older version), adopted at the next check.
struct Witness {
  char kind = '-';
  std::int64_t value = 0;
  bool operator==(const Witness&) const = default;
};
// An item as the catalog identifies it.
struct ItemId {
  dev_t device = 0;
  std::uint64_t inode = 0;
  Witness witness;
  bool is_folder = false;
};
// statx(2) of the item at path, following links; the witness is read for
// folders only. The status of statx(2) on failure.
OSErr identify(const std::string& path, ItemId& id);

// The user's home folder ($HOME, else the password database); empty when
// there is none.
std::string home_folder();
// The XDG folders: $XDG_STATE_HOME (default ~/.local/state), $XDG_CACHE_HOME
// (~/.cache), $XDG_DATA_HOME (~/.local/share) and the list $XDG_DATA_DIRS
// (/usr/local/share:/usr/share). Empty when there is no home.
std::string state_home();
std::string cache_home();
std::string data_home();
std::vector<std::string> data_dirs();
// Where applications live: the application folders of the XDG data folders,
// then the folders on $PATH.
std::vector<std::string> application_places();

// The volume number of the file system on `device`, of which `path` is an
// existing folder. Stable across runs: derived from the folder the file
// system is mounted on, and kept in the catalog file.
SInt16 volume_for(dev_t device, const std::string& path);
// True when the volume number belongs to a file system seen so far.
bool volume_known(SInt16 volume);
// The directory ID of the folder at `path` on `volume` (identified by id),
// recorded in the catalog: the low 32 bits of its inode, unless the catalog
// knows that ID as another folder (an earlier owner of the inode, or a 64-bit
// inode with the same low half); the folder then gets an ID of its own, so
// that specifications made for the other never lead into it.
SInt32 remember_directory(SInt16 volume, const std::string& path, const ItemId& id);
// Records the full name (UTF-8) of an item of a folder whose FSSpec
// holds a shortened name.
void remember_long_name(SInt16 volume, SInt32 dir_id, std::uint64_t inode, std::string_view utf8);
// The full name recorded for a shortened name of the folder, if any.
std::optional<std::string> long_name(SInt16 volume, SInt32 dir_id, std::string_view mac_name);
// The folder of a directory ID, checked against its device, inode and
// witness. When the catalog cannot resolve it, the folder is looked for
// (see find_moved_folder) and the catalog learns where it went.
std::optional<std::string> directory_path(SInt16 volume, SInt32 dir_id);
// The directory ID of the folder at `path` (0 when it cannot be read).
SInt32 folder_id(const std::string& path);
// The preferred directory ID of a folder's inode: its low 32 bits.
inline SInt32 directory_id(std::uint64_t inode) {
  return static_cast<SInt32>(static_cast<std::uint32_t>(inode));
}

// The bounded search for a folder that is not where the catalog saw it.
// Looks at each of `places` that lies on the volume's device (at most
// kSearchPlaces of them) and at the folders directly inside each (at most
// kSearchEntries entries read in all), for a folder whose inode's low 32
// bits are `low_inode` and that `accept` takes. Returns its path.
std::optional<std::string> find_moved_folder(const std::vector<std::string>& places, SInt16 volume,
                                             SInt32 low_inode,
                                             const std::function<bool(const ItemId&)>& accept);

// The catalog file's lines, the texts with "\\" and "\n" escaped:
//   "V <volume> <root>"                                   a volume
//   "F <volume> <dir id> <inode> <witness> <used> <path>"  a folder
//   "D <volume> <dir id> <inode> <path>"                   a folder (older versions)
//   "N <volume> <dir id> <inode> <name>"                   a full name
//   "R <volume> <dir id> <inode> <witness> <used>"         a folder gone
// The witness is written "b<ns>", "g<generation>" or "-"; `used` is the time
// (seconds since 1970) the folder was last used.
struct CatalogLine {
  char kind = 'F';
  SInt16 volume = 0;
  SInt32 dir_id = 0;
  std::uint64_t inode = 0;
  Witness witness;
  std::int64_t used = 0;
  std::string path;  // the root, the folder, or the name
};
std::string format_catalog_line(const CatalogLine& line);
// False for a line that is not well formed (it is then skipped).
bool parse_catalog_line(std::string_view text, CatalogLine& line);

// Names of file specifications.

// The Mac Roman FSSpec name of an item named `utf8` with inode `inode`: the
// name itself, or its shortened form "prefix#<HEX inode>.ext" (at most 63).
std::string spec_name(std::string_view utf8, ino_t inode);
// The shortened form of a name within `limit` characters: "prefix#<HEX
// inode>.ext" with the prefix cut to make room, or only "#<HEX inode>" when
// the extension does not fit either. Shortening the result again to its own
// length gives it back unchanged.
std::string shortened_name(std::string_view utf8, ino_t inode, std::size_t limit);
// The inode of a shortened name; nothing for other names.
std::optional<std::uint64_t> shortened_inode(std::string_view mac_name);
// Finds the item of a Mac Roman FSSpec name in a folder: by the name, then,
// for a shortened name, by the inode. Fills path.
OSErr find_in_folder(const std::string& folder, std::string_view mac_name, std::string& path);

// Paths whose components may be shortened (files_short_paths.cpp).

// The real path of an absolute UTF-8 path in which any component may stand in
// its shortened form, resolved component by component: a name that exists is
// taken as it is, a shortened one is found in its folder by the inode and must
// be that item's own shortened form of the same length. Fills real and st.
// fnfErr when a component is not found, dirNFErr when a folder on the way is a
// file.
OSErr resolve_short_path(std::string_view path, std::string& real, struct stat& st);

// Resolves an FSSpec (see FSpMakeFSRef).
OSErr resolve_spec(const FSSpec& spec, FSRef& ref, struct stat* st = nullptr);
// Makes the FSSpec of an existing item and records its folder.
OSErr make_spec(const FSRef& ref, FSSpec& spec);

// Finder information.

// The type and creator in an AppleDouble header such as netatalk keeps in its
// extended attribute (entry 9, Finder info). False when there is none.
bool finder_info_from_apple_double(std::span<const std::uint8_t> bytes, OSType& type,
                                   OSType& creator);

}  // namespace platform::files
