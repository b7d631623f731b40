// The volume table and the directory catalog, kept in memory and in
// $XDG_STATE_HOME/tavrine/catalog, so that file specifications stored in the
// preferences resolve in later runs. It is essential state, not a cache:
// losing it would make stored specifications fail. Changes are appended as
// whole lines (one write each); the file is rewritten only whole, through a
// synced temporary file renamed over it.
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "platform/linux/files_catalog.h"
#include "platform/state_files.h"

namespace platform::files {
namespace {

// The catalog keeps at most this many folders, dropping the least recently
// used: a few thousand folders cover years of pictures' and applications'
// folders, and at about 100 bytes a line the file stays near 400 KiB, read in
// a millisecond at start.
constexpr std::size_t kMaxFolders = 4096;
// Of the folders that are gone, the IDs of this many (the most recently used)
// stay reserved, in short lines, so that a folder that later takes one's
// freed inode is not taken for it.
constexpr std::size_t kMaxRetired = 1024;
// The file is rewritten when it holds this many lines more than twice the
// live entries, so that years of appends do not slow the start of every run.
constexpr std::size_t kSlackLines = 1024;
// Only the last this many bytes of a larger file are read (appends put the
// newest lines last); the next rewrite makes it small again.
constexpr off_t kReadAtMost = 8 << 20;

std::string catalog_file(const std::string& home) {
  return home.empty() ? std::string() : home + "/tavrine/catalog";
}

Stamp stamp_of(const std::string& file) {
  struct stat st;
  if (file.empty() || ::stat(file.c_str(), &st) != 0) return {};
  return {st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec, st.st_ino};
}

void take_folder(Catalog& catalog, const CatalogLine& line) {
  FolderKey key{line.volume, line.dir_id};
  if (auto old = catalog.folders.find(key); old != catalog.folders.end()) {
    auto known = catalog.id_of.find(identity(line.volume, old->second.inode, old->second.witness));
    if (known != catalog.id_of.end() && known->second == line.dir_id) catalog.id_of.erase(known);
  }
  catalog.folders[key] = {line.path, line.inode, line.witness, line.used, line.used};
  catalog.id_of[identity(line.volume, line.inode, line.witness)] = line.dir_id;
  catalog.retired.erase(key);
}

void take_retired(Catalog& catalog, const CatalogLine& line) {
  FolderKey key{line.volume, line.dir_id};
  if (catalog.folders.contains(key)) return;
  catalog.retired[key] = {{}, line.inode, line.witness, line.used, line.used};
  catalog.id_of[identity(line.volume, line.inode, line.witness)] = line.dir_id;
}

// The file's bytes, or its last kReadAtMost bytes from the start of a line.
std::string read_catalog(const std::string& file) {
  struct stat st;
  if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  off_t from = st.st_size > kReadAtMost ? st.st_size - kReadAtMost : 0;
  std::string bytes(static_cast<std::size_t>(st.st_size - from), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pread(fd.get(), bytes.data() + done, bytes.size() - done,
                        from + static_cast<off_t>(done));
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  if (from > 0) bytes.erase(0, std::min(bytes.size(), bytes.find('\n') + 1));
  return bytes;
}

void load(Catalog& catalog) {
  catalog.loaded = stamp_of(catalog.file);
  std::string bytes = read_catalog(catalog.file);
  std::string_view rest(bytes);
  catalog.lines = 0;
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) break;  // a line cut short by a crash
    ++catalog.lines;
    CatalogLine line;
    if (parse_catalog_line(rest.substr(0, end), line)) take_line(catalog, line);
    rest.remove_prefix(end + 1);
  }
}

// Says once that the catalog file is left alone: something that is not a
// regular file took its place.
void say_skipped(const std::string& file) {
  static bool said = false;
  if (said) return;
  std::fprintf(stderr, "tavrine: folders are not remembered in %s (not a regular file)\n",
               file.c_str());
  said = true;
}

// Opens the catalog file to append to it: never blocking, and only a
// regular file (made when missing).
UniqueFd open_for_append(const std::string& file) {
  struct stat st;
  if (::stat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    say_skipped(file);
    return {};
  }
  int flags = O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  UniqueFd fd(::open(file.c_str(), flags, 0600));
  if (fd.valid() && (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))) {
    say_skipped(file);
    return {};
  }
  return fd;
}

// Puts `bytes` in the place of `file` in one step, through the routine every
// state file is saved with; something that is not a regular file in its
// place is left alone and said once. False when the save fails; the old file
// then stays as it was.
bool replace_catalog_file(const std::string& file, std::string_view bytes) {
  make_folders(parent_of(file), 0700);
  OSErr err = write_state_file(file, bytes, 0600);
  if (err == notAFileErr) say_skipped(file);
  return err == noErr;
}

// Older versions kept the catalog in the cache folder; it moves over once,
// silently, when there is none in the state folder yet.
void move_from_cache(const std::string& file) {
  std::string old_file = catalog_file(cache_home());
  if (file.empty() || old_file.empty() || old_file == file || stamp_of(file).size >= 0) return;
  std::string bytes = read_catalog(old_file);
  if (bytes.empty() || !replace_catalog_file(file, bytes)) return;
  ::unlink(old_file.c_str());
  ::rmdir(parent_of(old_file).c_str());  // only when nothing else is in it
}

// True when the file system of `volume` is mounted where it was seen.
bool volume_mounted(SInt16 volume, const std::string& root) {
  ItemId id;
  return identify(root, id) == noErr && volume_for(id.device, root) == volume;
}

bool folder_holds(const Folder& folder) {
  ItemId id;
  return identify(folder.path, id) == noErr && id.is_folder && same_folder(folder, id);
}

using Folders = std::vector<std::pair<FolderKey, Folder>>;

// Keeps the `most` most recently used.
void keep_recent(Folders& folders, std::size_t most) {
  std::stable_sort(folders.begin(), folders.end(),
                   [](const auto& a, const auto& b) { return a.second.used > b.second.used; });
  if (folders.size() > most) folders.resize(most);
}

// Sorts the folders into those worth keeping (still where they were seen, or
// on a volume that is not mounted now) and those gone, which join the
// retired ones; each the most recently used first, at most their cap.
void sort_folders(const Catalog& catalog, Folders& live, Folders& gone) {
  std::map<SInt16, bool> mounted;
  for (const auto& [key, folder] : catalog.folders) {
    auto root = catalog.root_of_volume.find(key.first);
    if (root != catalog.root_of_volume.end() && !mounted.contains(key.first))
      mounted[key.first] = volume_mounted(key.first, root->second);
    if (!mounted[key.first] || folder_holds(folder))
      live.emplace_back(key, folder);
    else if (folder.witness.kind != '?')
      gone.emplace_back(key, folder);
  }
  gone.insert(gone.end(), catalog.retired.begin(), catalog.retired.end());
  keep_recent(live, kMaxFolders);
  keep_recent(gone, kMaxRetired);
}

// Rewrites the file with what still holds: folders that are gone keep only
// their identity (the most recent kMaxRetired), the least recently used past
// the cap and the full names of items that are gone are dropped.
void compact(Catalog& catalog) {
  catalog.compacting = true;  // what the checks below append waits for the next time
  Folders live, gone;
  sort_folders(catalog, live, gone);
  std::string text;
  Catalog kept;
  for (const auto& [root, number] : catalog.volume_of_root) {
    CatalogLine line{'V', number, 0, 0, {}, 0, root};
    take_line(kept, line);
    text += format_catalog_line(line);
  }
  for (const auto& [key, folder] : gone) {
    CatalogLine line{'R', key.first, key.second, folder.inode, folder.witness, folder.used, {}};
    take_line(kept, line);
    text += format_catalog_line(line);
  }
  for (auto it = live.rbegin(); it != live.rend(); ++it) {  // the most recent last
    CatalogLine line = folder_line(it->first, it->second);
    take_line(kept, line);
    text += format_catalog_line(line);
  }
  for (const auto& [key, name] : catalog.long_names) {
    auto folder = kept.folders.find({std::get<0>(key), std::get<1>(key)});
    struct stat st;
    if (folder == kept.folders.end() ||
        ::stat(join(folder->second.path, name.name).c_str(), &st) != 0)
      continue;
    CatalogLine line{'N', std::get<0>(key), std::get<1>(key), name.inode, {}, 0, name.name};
    take_line(kept, line);
    text += format_catalog_line(line);
  }
  kept.ready = true;
  kept.file = catalog.file;
  kept.volume_of_device = std::move(catalog.volume_of_device);
  kept.lines = kept.folders.size() + kept.retired.size() + kept.long_names.size() +
               kept.volume_of_root.size();
  if (!catalog.file.empty() && replace_catalog_file(catalog.file, text))
    kept.loaded = stamp_of(catalog.file);
  catalog = std::move(kept);
}

bool too_long(const Catalog& catalog) {
  if (catalog.compacting) return false;
  std::size_t entries = catalog.folders.size() + catalog.retired.size() +
                        catalog.long_names.size() + catalog.volume_of_root.size();
  return catalog.folders.size() > kMaxFolders || catalog.lines > 2 * entries + kSlackLines;
}

}  // namespace

IdentityKey identity(SInt16 volume, std::uint64_t inode, const Witness& witness) {
  return {volume, inode, witness.kind, witness.value};
}

bool same_folder(const Folder& folder, const ItemId& id) {
  return folder.inode == id.inode && (folder.witness == id.witness || folder.witness.kind == '?');
}

std::int64_t now() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

CatalogLine folder_line(const FolderKey& key, const Folder& folder) {
  return {'F', key.first, key.second, folder.inode, folder.witness, folder.used, folder.path};
}

void take_line(Catalog& catalog, const CatalogLine& line) {
  if (line.kind == 'N') {
    NameKey key{line.volume, line.dir_id, spec_name(line.path, line.inode)};
    catalog.long_names[key] = {line.inode, line.path};
  } else if (line.kind == 'R') {
    take_retired(catalog, line);
  } else if (line.kind != 'V') {
    take_folder(catalog, line);
  } else if (!catalog.volume_of_root.contains(line.path) &&
             !catalog.root_of_volume.contains(line.volume)) {  // the first assignment stands
    catalog.volume_of_root[line.path] = line.volume;
    catalog.root_of_volume[line.volume] = line.path;
  }
}

// A line cut short by a crash costs only that line.
void append(Catalog& catalog, const CatalogLine& line) {
  if (catalog.file.empty()) return;
  make_folders(parent_of(catalog.file), 0700);
  UniqueFd fd = open_for_append(catalog.file);
  if (!fd.valid()) return;  // running on without remembering this folder is fine
  std::string text = format_catalog_line(line);
  if (::write(fd.get(), text.data(), text.size()) != static_cast<ssize_t>(text.size())) return;
  ++catalog.lines;
  if (too_long(catalog)) compact(catalog);
}

Catalog& catalog() {
  static Catalog state;
  std::string file = catalog_file(state_home());
  if (!state.ready || file != state.file) {
    state = Catalog{};
    state.ready = true;
    state.file = std::move(file);
    move_from_cache(state.file);
    load(state);
    if (too_long(state)) compact(state);
  }
  return state;
}

bool reload_if_changed(Catalog& state) {
  if (stamp_of(state.file) == state.loaded) return false;
  load(state);
  return true;
}

}  // namespace platform::files
