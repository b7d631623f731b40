// Volume numbers and directory IDs: the number a mounted file system gets,
// the ID a folder gets, and how an ID leads back to its folder: checked
// against the folder's identity and, when the folder is not where it was
// seen, searched for.
#include <sys/stat.h>

#include <algorithm>

#include "platform/linux/files_catalog.h"

namespace platform::files {
namespace {

// A search looks around the folders of this many of the most recently used
// catalog entries (the folder and its parents): the picture's own folder and
// those of the applications resolved before are among them.
constexpr std::size_t kRecentPlaces = 16;

std::string mount_root(dev_t device, const std::string& path) {
  std::string root = path;
  while (root != "/") {
    std::string up = parent_of(root);
    struct stat st;
    if (::stat(up.c_str(), &st) != 0 || st.st_dev != device) break;
    root = up;
  }
  return root;
}

// FNV-1a of the root's path, folded into -1 to -32767: negative like the
// classic volume numbers, never 0.
SInt16 preferred_number(const std::string& root) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : root) hash = (hash ^ c) * 16777619u;
  return static_cast<SInt16>(-static_cast<int>(1 + hash % 32767));
}

SInt16 next_number(SInt16 number) {
  return number == -32767 ? -1 : static_cast<SInt16>(number - 1);
}

// Notes the folder's use, and writes its line again when it moved, when its
// witness was not recorded yet, or when the use the file holds is old.
void refresh(Catalog& state, const FolderKey& key, const std::string& path, const ItemId& id) {
  Folder& folder = state.folders[key];
  folder.used = now();
  if (folder.path == path && folder.witness.kind != '?' &&
      folder.used - folder.stored <= kTouchAfter)
    return;
  CatalogLine line{'F', key.first, key.second, id.inode, id.witness, now(), path};
  take_line(state, line);
  append(state, line);
}

// The ID under which the catalog knows the folder, if it does.
std::optional<SInt32> known_id(const Catalog& state, SInt16 volume, const ItemId& id) {
  SInt32 preferred = directory_id(id.inode);
  auto slot = state.folders.find({volume, preferred});
  if (slot != state.folders.end() && same_folder(slot->second, id)) return preferred;
  auto known = state.id_of.find(identity(volume, id.inode, id.witness));
  if (known != state.id_of.end()) return known->second;
  return std::nullopt;
}

// An ID for a folder whose preferred one the catalog gives to another folder:
// drawn from its inode and witness, never 0 or the root's parent ID, and
// taken by no folder the catalog knows.
SInt32 free_id(const Catalog& state, SInt16 volume, const ItemId& id) {
  std::uint64_t mix =
      (id.inode * 0x9E3779B97F4A7C15ull) ^ static_cast<std::uint64_t>(id.witness.value);
  for (;;) {
    mix = mix * 6364136223846793005ull + 1442695040888963407ull;
    auto candidate = static_cast<SInt32>(static_cast<std::uint32_t>(mix >> 32));
    if (candidate != 0 && candidate != fsRtParID && !state.folders.contains({volume, candidate}) &&
        !state.retired.contains({volume, candidate}))
      return candidate;
  }
}

void add_with_parents(std::vector<std::string>& places, std::string folder) {
  while (!folder.empty() && folder[0] == '/') {
    places.push_back(folder);
    if (folder == "/") break;
    folder = parent_of(folder);
  }
}

// Where a folder that is not where it was seen is looked for: around its old
// place, where applications live, and around the recently used folders.
std::vector<std::string> search_places(const Catalog& state, const std::optional<Folder>& known) {
  std::vector<std::string> places;
  if (known) add_with_parents(places, parent_of(known->path));
  for (std::string& place : application_places()) places.push_back(std::move(place));
  std::vector<const Folder*> recent;
  for (const auto& entry : state.folders) recent.push_back(&entry.second);
  std::size_t count = std::min(recent.size(), kRecentPlaces);
  std::partial_sort(recent.begin(), recent.begin() + static_cast<std::ptrdiff_t>(count),
                    recent.end(),
                    [](const Folder* a, const Folder* b) { return a->used > b->used; });
  for (std::size_t i = 0; i < count; ++i) add_with_parents(places, recent[i]->path);
  return places;
}

// Looks for the folder of a directory ID that the catalog cannot resolve. A
// folder the catalog knew must show the same inode and witness; for an ID the
// catalog does not know (its file was lost), any folder with that inode that
// the catalog does not know under another ID will do. The catalog learns
// where the folder is.
std::optional<std::string> search(Catalog& state, SInt16 volume, SInt32 dir_id) {
  std::optional<Folder> known;
  if (auto found = state.folders.find({volume, dir_id}); found != state.folders.end())
    known = found->second;
  else if (auto gone = state.retired.find({volume, dir_id}); gone != state.retired.end())
    known = gone->second;
  auto accept = [&](const ItemId& id) {
    if (known) return same_folder(*known, id);
    return !state.id_of.contains(identity(volume, id.inode, id.witness));
  };
  SInt32 wanted = known ? directory_id(known->inode) : dir_id;
  std::optional<std::string> path =
      find_moved_folder(search_places(state, known), volume, wanted, accept);
  ItemId id;
  if (!path || identify(*path, id) != noErr) return std::nullopt;
  CatalogLine line{'F', volume, dir_id, id.inode, id.witness, now(), *path};
  take_line(state, line);
  append(state, line);
  return path;
}

}  // namespace

SInt16 volume_for(dev_t device, const std::string& path) {
  Catalog& state = catalog();
  if (auto found = state.volume_of_device.find(device); found != state.volume_of_device.end())
    return found->second;
  std::string root = mount_root(device, path);
  if (!state.volume_of_root.contains(root)) reload_if_changed(state);
  SInt16 number = 0;
  if (auto known = state.volume_of_root.find(root); known != state.volume_of_root.end()) {
    number = known->second;
  } else {
    number = preferred_number(root);
    while (state.root_of_volume.contains(number)) number = next_number(number);
    CatalogLine line{'V', number, 0, 0, {}, 0, root};
    take_line(state, line);
    append(state, line);
  }
  state.volume_of_device[device] = number;
  return number;
}

bool volume_known(SInt16 volume) {
  Catalog& state = catalog();
  if (state.root_of_volume.contains(volume)) return true;
  return reload_if_changed(state) && state.root_of_volume.contains(volume);
}

SInt32 remember_directory(SInt16 volume, const std::string& path, const ItemId& id) {
  Catalog& state = catalog();
  std::optional<SInt32> dir_id = known_id(state, volume, id);
  if (!dir_id && reload_if_changed(state)) dir_id = known_id(state, volume, id);
  if (dir_id) {
    refresh(state, {volume, *dir_id}, path, id);
    return *dir_id;
  }
  SInt32 preferred = directory_id(id.inode);
  bool taken =
      state.folders.contains({volume, preferred}) || state.retired.contains({volume, preferred});
  SInt32 fresh = taken ? free_id(state, volume, id) : preferred;
  CatalogLine line{'F', volume, fresh, id.inode, id.witness, now(), path};
  take_line(state, line);
  append(state, line);
  return fresh;
}

std::optional<std::string> directory_path(SInt16 volume, SInt32 dir_id) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    Catalog& state = catalog();
    auto found = state.folders.find({volume, dir_id});
    if (found != state.folders.end()) {
      Folder folder = found->second;
      ItemId id;
      if (identify(folder.path, id) == noErr && id.is_folder && same_folder(folder, id) &&
          volume_for(id.device, folder.path) == volume) {
        refresh(state, {volume, dir_id}, folder.path, id);
        return folder.path;
      }
    }
    if (!reload_if_changed(state)) break;
  }
  return search(catalog(), volume, dir_id);
}

void remember_long_name(SInt16 volume, SInt32 dir_id, std::uint64_t inode, std::string_view utf8) {
  Catalog& state = catalog();
  auto found = state.long_names.find({volume, dir_id, spec_name(utf8, inode)});
  if (found != state.long_names.end() && found->second.name == utf8) return;
  CatalogLine line{'N', volume, dir_id, inode, {}, 0, std::string(utf8)};
  take_line(state, line);
  append(state, line);
}

std::optional<std::string> long_name(SInt16 volume, SInt32 dir_id, std::string_view mac_name) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    Catalog& state = catalog();
    auto found = state.long_names.find({volume, dir_id, std::string(mac_name)});
    if (found != state.long_names.end()) return found->second.name;
    if (!reload_if_changed(state)) break;
  }
  return std::nullopt;
}

}  // namespace platform::files
