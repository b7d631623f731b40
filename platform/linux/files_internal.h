// Shared pieces of the File Manager's Linux backing: paths, the volume table,
// the directory catalog and the names of file specifications. Not part of the
// platform's interface; tests and fuzz targets reach the parsers through it.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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

// Paths.

// The folder part and the last name of an absolute, normalised path. The
// folder of "/x" is "/"; "/" has no name.
std::string parent_of(const std::string& path);
std::string name_of(const std::string& path);
// folder + "/" + name, without doubling the slash of the root.
std::string join(const std::string& folder, std::string_view name);

// Fills ref from the item at an absolute, normalised path (stat, following
// links). The status of stat(2) on failure.
OSErr make_ref(const std::string& path, FSRef& ref, struct stat* st = nullptr);
// Checks that ref still leads to its device and inode (fnfErr when not; also
// for an empty reference). Fills st when given.
OSErr verify_ref(const FSRef& ref, struct stat* st = nullptr);

// UTF-16 text as UTF-8; false for unpaired surrogates.
bool utf16_to_utf8(const UniChar* text, UniCharCount length, std::string& out);
// True for a name that can stand in a folder: not empty, not "." or "..",
// without "/" or NUL.
bool valid_item_name(std::string_view name);

// Volumes and the directory catalog.

// The volume number of the file system on `device`, of which `path` is an
// existing folder. Stable across runs: derived from the folder the file
// system is mounted on, and kept in the catalog file.
SInt16 volume_for(dev_t device, const std::string& path);
// True when the volume number belongs to a file system seen so far.
bool volume_known(SInt16 volume);
// Records that directory ID `dir_id` of `volume` is the folder at `path`.
void remember_directory(SInt16 volume, SInt32 dir_id, const std::string& path, ino_t inode);
// The folder of a directory ID, checked against its inode and volume.
std::optional<std::string> directory_path(SInt16 volume, SInt32 dir_id);
// The directory ID of a folder's inode: its low 32 bits.
inline SInt32 directory_id(ino_t inode) {
  return static_cast<SInt32>(static_cast<std::uint32_t>(inode));
}

// The catalog file's lines. Each is "V <volume> <root>" or
// "D <volume> <dir id> <inode> <path>", the texts with "\\" and "\n" escaped.
struct CatalogLine {
  bool is_volume = false;
  SInt16 volume = 0;
  SInt32 dir_id = 0;
  std::uint64_t inode = 0;
  std::string path;
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
