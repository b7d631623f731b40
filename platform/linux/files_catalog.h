// The directory catalog as the File Manager's backing keeps it: the records
// in memory and the operations on its file. Private to platform/linux.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "platform/linux/files_internal.h"

namespace platform::files {

// A folder's last use is written again only when older than this, so that
// resolving is not a write.
constexpr std::int64_t kTouchAfter = 24 * 60 * 60;

struct Stamp {
  off_t size = -1;
  std::int64_t mtime_ns = 0;
  ino_t inode = 0;
  bool operator==(const Stamp&) const = default;
};

struct Folder {
  std::string path;
  std::uint64_t inode = 0;
  Witness witness;
  std::int64_t used = 0;    // last use, seconds since 1970
  std::int64_t stored = 0;  // the last use the file holds
};
using FolderKey = std::pair<SInt16, SInt32>;
using IdentityKey = std::tuple<SInt16, std::uint64_t, char, std::int64_t>;
using NameKey = std::tuple<SInt16, SInt32, std::string>;  // the shortened name
struct LongName {
  std::uint64_t inode = 0;
  std::string name;
};

struct Catalog {
  bool ready = false;
  bool compacting = false;
  std::string file;  // empty when there is no home
  Stamp loaded;
  std::size_t lines = 0;  // in the file, as read and appended
  std::unordered_map<dev_t, SInt16> volume_of_device;
  std::map<std::string, SInt16> volume_of_root;
  std::map<SInt16, std::string> root_of_volume;
  std::map<FolderKey, Folder> folders;
  // Folders that were gone at the last rewrite: their IDs are never given to
  // another folder, and a search takes only a folder of the same identity.
  std::map<FolderKey, Folder> retired;
  std::map<IdentityKey, SInt32> id_of;
  std::map<NameKey, LongName> long_names;
};

// The catalog of the current $XDG_STATE_HOME, loaded on first use (and
// moved over from the cache folder of older versions).
Catalog& catalog();
// Rereads the file when another process has added to it. True when it did.
bool reload_if_changed(Catalog& catalog);
// Takes a line into memory, as loading does.
void take_line(Catalog& catalog, const CatalogLine& line);
// Appends one line to the file (one write with O_APPEND, so that lines of two
// processes never interleave). May compact the catalog: iterators into it do
// not survive.
void append(Catalog& catalog, const CatalogLine& line);

IdentityKey identity(SInt16 volume, std::uint64_t inode, const Witness& witness);
// True when the item is the folder recorded (a witness not recorded yet
// matches any).
bool same_folder(const Folder& folder, const ItemId& id);
CatalogLine folder_line(const FolderKey& key, const Folder& folder);
std::int64_t now();

}  // namespace platform::files
