// The volume table and the directory catalog, kept in memory and appended to
// $XDG_CACHE_HOME/tavrine/catalog so that file specifications resolve in
// later runs.
#include <fcntl.h>
#include <sys/stat.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <unordered_map>

#include "platform/linux/files_internal.h"
#include "platform/state_files.h"

namespace platform::files {
namespace {

// A catalog file larger than this is rewritten with the entries that still
// hold, so that years of appends do not slow the start of every run.
constexpr off_t kCompactAbove = 1 << 20;
// Longer files are not read at all: they cannot be ours.
constexpr off_t kReadAtMost = 16 << 20;

struct Stamp {
  off_t size = -1;
  std::int64_t mtime_ns = 0;
  ino_t inode = 0;
  bool operator==(const Stamp&) const = default;
};

struct Catalog {
  bool ready = false;
  std::string file;  // empty when there is no cache folder
  Stamp loaded;
  std::unordered_map<dev_t, SInt16> volume_of_device;
  std::map<std::string, SInt16> volume_of_root;
  std::map<SInt16, std::string> root_of_volume;
  std::map<std::pair<SInt16, SInt32>, CatalogLine> folders;
};

std::string cache_file() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && cache[0] == '/') return std::string(cache) + "/tavrine/catalog";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.cache/tavrine/catalog";
  return {};
}

Stamp stamp_of(const std::string& file) {
  struct stat st;
  if (file.empty() || ::stat(file.c_str(), &st) != 0) return {};
  return {st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec, st.st_ino};
}

void take_line(Catalog& catalog, const CatalogLine& line) {
  if (line.is_volume) {
    if (catalog.volume_of_root.contains(line.path) || catalog.root_of_volume.contains(line.volume))
      return;  // the first assignment stands
    catalog.volume_of_root[line.path] = line.volume;
    catalog.root_of_volume[line.volume] = line.path;
  } else {
    catalog.folders[{line.volume, line.dir_id}] = line;
  }
}

void load(Catalog& catalog) {
  catalog.loaded = stamp_of(catalog.file);
  std::string bytes;
  if (!catalog.file.empty()) read_state_file(catalog.file, kReadAtMost, bytes);
  std::string_view rest(bytes);
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) break;  // a line cut short by a crash
    CatalogLine line;
    if (parse_catalog_line(rest.substr(0, end), line)) take_line(catalog, line);
    rest.remove_prefix(end + 1);
  }
}

void make_folders(const std::string& file) {
  std::string folder = parent_of(file);
  std::string path;
  std::size_t at = 1;
  while (at <= folder.size()) {
    std::size_t slash = folder.find('/', at);
    if (slash == std::string::npos) slash = folder.size();
    path = folder.substr(0, slash);
    ::mkdir(path.c_str(), 0700);
    at = slash + 1;
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

void append(const Catalog& catalog, const CatalogLine& line) {
  if (catalog.file.empty()) return;
  make_folders(catalog.file);
  UniqueFd fd = open_for_append(catalog.file);
  if (!fd.valid()) return;  // the cache is a convenience; running on without it is fine
  std::string text = format_catalog_line(line);
  // One write with O_APPEND, so lines of two processes never interleave.
  (void)!::write(fd.get(), text.data(), text.size());
}

Catalog& catalog() {
  static Catalog state;
  std::string file = cache_file();
  if (!state.ready || file != state.file) {
    state = Catalog{};
    state.ready = true;
    state.file = std::move(file);
    load(state);
  }
  return state;
}

// Rereads the file when another process has added to it. True when it did.
bool reload_if_changed(Catalog& state) {
  if (stamp_of(state.file) == state.loaded) return false;
  load(state);
  return true;
}

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
    CatalogLine line{true, number, 0, 0, root};
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

void remember_directory(SInt16 volume, SInt32 dir_id, const std::string& path, ino_t inode) {
  Catalog& state = catalog();
  auto found = state.folders.find({volume, dir_id});
  if (found != state.folders.end() && found->second.path == path && found->second.inode == inode)
    return;
  CatalogLine line{false, volume, dir_id, inode, path};
  state.folders[{volume, dir_id}] = line;
  append(state, line);
  if (state.loaded.size > kCompactAbove) {
    // Compaction: rewrite only what is held in memory, in one step.
    std::string text;
    for (const auto& [root, number] : state.volume_of_root)
      text += format_catalog_line({true, number, 0, 0, root});
    for (const auto& entry : state.folders) text += format_catalog_line(entry.second);
    if (write_state_file(state.file, text, 0600) == noErr) state.loaded = stamp_of(state.file);
  }
}

namespace {

bool still_holds(const CatalogLine& entry, SInt16 volume) {
  struct stat st;
  if (::stat(entry.path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (st.st_ino != entry.inode) return false;
  return volume_for(st.st_dev, entry.path) == volume;
}

}  // namespace

std::optional<std::string> directory_path(SInt16 volume, SInt32 dir_id) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    Catalog& state = catalog();
    auto found = state.folders.find({volume, dir_id});
    if (found != state.folders.end()) {
      CatalogLine entry = found->second;
      if (still_holds(entry, volume)) return entry.path;
    }
    if (!reload_if_changed(state)) break;
  }
  return std::nullopt;
}

namespace {

std::string escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

bool unescape(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    if (text[i] == '\\')
      out += '\\';
    else if (text[i] == 'n')
      out += '\n';
    else
      return false;
  }
  return true;
}

// Takes one space-ended number off the front of text.
template <typename T>
bool take_number(std::string_view& text, T& value) {
  std::size_t space = text.find(' ');
  if (space == std::string_view::npos) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + space, value);
  if (error != std::errc() || end != text.data() + space) return false;
  text.remove_prefix(space + 1);
  return true;
}

}  // namespace

std::string format_catalog_line(const CatalogLine& line) {
  if (line.is_volume) return "V " + std::to_string(line.volume) + " " + escape(line.path) + "\n";
  return "D " + std::to_string(line.volume) + " " + std::to_string(line.dir_id) + " " +
         std::to_string(line.inode) + " " + escape(line.path) + "\n";
}

bool parse_catalog_line(std::string_view text, CatalogLine& line) {
  line = CatalogLine{};
  if (text.size() < 2 || text[1] != ' ' || (text[0] != 'V' && text[0] != 'D')) return false;
  line.is_volume = text[0] == 'V';
  text.remove_prefix(2);
  if (!take_number(text, line.volume) || line.volume == 0) return false;
  if (!line.is_volume && (!take_number(text, line.dir_id) || !take_number(text, line.inode)))
    return false;
  if (!unescape(text, line.path)) return false;
  return !line.path.empty() && line.path[0] == '/';
}

}  // namespace platform::files
