// File specifications: their names, how they are made from references and
// resolved through the directory catalog, and the catalog lookup.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/linux/files_internal.h"
#include "platform/text.h"
#include "platform/utf.h"

namespace platform::files {
namespace {

constexpr std::size_t kNameLimit = 63;
// An extension longer than this is not kept in a shortened name.
constexpr std::size_t kExtensionLimit = 15;
const std::string kRootName = "/";

std::string hex_of(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
  return text;
}

// The extension (".ext") of a name when it is short and has a Mac Roman form.
std::string extension_of(std::string_view utf8, std::size_t& dot) {
  dot = utf8.rfind('.');
  std::string mac;
  if (dot == std::string_view::npos || dot == 0 || utf8.size() - dot - 1 > kExtensionLimit ||
      !utf8_to_mac_roman_exact(utf8.substr(dot), mac) || mac.find('#') != std::string::npos) {
    dot = std::string_view::npos;
    return {};
  }
  return mac;
}

// Scans a folder for the entry whose inode (after links) is `inode` and whose
// own shortened name is the whole of `mac_name`: the inode alone never
// decides, so a plain name that only looks shortened, or a different long
// name that took a freed inode, finds no other file. The first pass trusts
// the directory's own inode numbers and checks only their matches; the
// second, for links and file systems whose numbers differ, looks at every
// entry.
bool scan_for_inode(const std::string& folder, std::uint64_t inode, std::string_view mac_name,
                    bool every_entry, std::string& name) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return false;
  bool found = false;
  while (!found) {
    struct dirent* entry = ::readdir(dir);
    if (!entry) break;
    std::string_view candidate(entry->d_name);
    if (candidate == "." || candidate == "..") continue;
    if (!every_entry && entry->d_ino != inode) continue;
    struct stat st;
    if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0 || st.st_ino != inode) continue;
    if (spec_name(candidate, st.st_ino) != mac_name) continue;
    name = candidate;
    found = true;
  }
  ::closedir(dir);
  return found;
}

bool find_by_inode(const std::string& folder, std::uint64_t inode, std::string_view mac_name,
                   std::string& name) {
  return scan_for_inode(folder, inode, mac_name, false, name) ||
         scan_for_inode(folder, inode, mac_name, true, name);
}

std::string name_bytes(const FSSpec& spec) {
  return std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
}

void set_name(FSSpec& spec, const std::string& mac) {
  std::memset(spec.name, 0, sizeof spec.name);
  spec.name[0] = static_cast<unsigned char>(mac.size());
  std::memcpy(spec.name + 1, mac.data(), mac.size());
}

OSErr resolve_root(SInt16 volume, FSRef& ref, struct stat* st) {
  struct stat local;
  struct stat& info = st ? *st : local;
  OSErr err = make_ref("/", ref, &info);
  if (err != noErr) return err;
  return volume_for(info.st_dev, "/") == volume ? noErr : nsvErr;
}

}  // namespace

std::string shortened_name(std::string_view utf8, ino_t inode, std::size_t limit) {
  std::size_t dot = 0;
  std::string extension = extension_of(utf8, dot);
  std::string suffix = "#" + hex_of(inode);
  // Below its tail's length the name keeps only "#<HEX inode>", so that
  // shortening a shortened name to its own length gives it back.
  if (suffix.size() + extension.size() > limit) return suffix;
  // Each character gives one Mac Roman byte: only the first `room` of them
  // need converting.
  std::size_t room = limit - suffix.size() - extension.size();
  std::string_view stem = utf8.substr(0, dot);
  char32_t c = 0;
  std::size_t end = 0;
  for (std::size_t n = 0, used = 0; n < room && (used = decode_utf8(stem, end, c)) != 0; ++n)
    end += used;
  std::string prefix = utf8_to_mac_roman_lossy(stem.substr(0, end));
  for (char& byte : prefix) {
    if (byte == '/' || byte == '\0') byte = '-';  // a fullwidth solidus folds to "/"
  }
  if (prefix.size() > room) prefix.resize(room);
  return prefix + suffix + extension;
}

std::string spec_name(std::string_view utf8, ino_t inode) {
  std::string mac;
  if (utf8_to_mac_roman_exact(utf8, mac) && mac.size() <= kNameLimit && !mac.empty() &&
      mac_roman_to_utf8(mac) == utf8) {
    return mac;
  }
  return shortened_name(utf8, inode, kNameLimit);
}

std::optional<std::uint64_t> shortened_inode(std::string_view mac_name) {
  std::size_t hash = mac_name.rfind('#');
  if (hash == std::string_view::npos) return std::nullopt;
  std::string_view rest = mac_name.substr(hash + 1);
  std::size_t digits = 0;
  while (digits < rest.size() && std::isxdigit(static_cast<unsigned char>(rest[digits])) &&
         !std::islower(static_cast<unsigned char>(rest[digits])))
    ++digits;
  if (digits == 0 || digits > 16) return std::nullopt;
  if (digits < rest.size() && rest[digits] != '.') return std::nullopt;
  std::uint64_t value = 0;
  std::from_chars(rest.data(), rest.data() + digits, value, 16);
  return value;
}

OSErr find_in_folder(const std::string& folder, std::string_view mac_name, std::string& path) {
  if (!valid_item_name(mac_name)) return bdNamErr;
  std::string candidate = join(folder, mac_roman_to_utf8(mac_name));
  struct stat st;
  if (::stat(candidate.c_str(), &st) == 0) {
    path = std::move(candidate);
    return noErr;
  }
  if (errno != ENOENT) return status_from_errno(errno);
  std::optional<std::uint64_t> inode = shortened_inode(mac_name);
  std::string name;
  if (!inode || !find_by_inode(folder, *inode, mac_name, name)) return fnfErr;
  path = join(folder, name);
  return noErr;
}

OSErr resolve_spec(const FSSpec& spec, FSRef& ref, struct stat* st) {
  if (spec.name[0] > kNameLimit) return bdNamErr;
  std::string mac = name_bytes(spec);
  if (spec.vRefNum == 0) return nsvErr;
  if (spec.parID == fsRtParID && mac == kRootName) return resolve_root(spec.vRefNum, ref, st);
  std::optional<std::string> folder = directory_path(spec.vRefNum, spec.parID);
  if (!folder) return volume_known(spec.vRefNum) ? dirNFErr : nsvErr;
  // A shortened name whose full name the catalog knows leads to the item of
  // that name, also one that replaced the original (a package upgrade, an
  // atomic save); when that name is gone, so is the item.
  std::optional<std::string> full;
  if (shortened_inode(mac)) full = long_name(spec.vRefNum, spec.parID, mac);
  if (full) return make_ref(join(*folder, *full), ref, st);
  std::string path;
  OSErr err = find_in_folder(*folder, mac, path);
  if (err != noErr) return err;
  return make_ref(path, ref, st);
}

OSErr make_spec(const FSRef& ref, FSSpec& spec) {
  FSSpec made{};
  if (ref.path == "/") {
    made.vRefNum = volume_for(ref.device, "/");
    made.parID = fsRtParID;
    set_name(made, kRootName);
    spec = made;
    return noErr;
  }
  std::string folder = parent_of(ref.path);
  ItemId id;
  OSErr err = identify(folder, id);
  if (err != noErr) return err;
  made.vRefNum = volume_for(id.device, folder);
  made.parID = remember_directory(made.vRefNum, folder, id);
  std::string name = name_of(ref.path);
  std::string mac = spec_name(name, ref.inode);
  set_name(made, mac);
  if (shortened_inode(mac) && mac_roman_to_utf8(mac) != name)
    remember_long_name(made.vRefNum, made.parID, ref.inode, name);
  spec = made;
  return noErr;
}

SInt32 folder_id(const std::string& path) {
  ItemId id;
  if (identify(path, id) != noErr) return 0;
  return remember_directory(volume_for(id.device, path), path, id);
}

}  // namespace platform::files

using namespace platform::files;
using platform::status_from_errno;

OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, void* catalogInfo,
                       void* outName, FSSpec* fsSpec, FSRef* parentRef) {
  if (!ref || whichInfo != kFSCatInfoNone || outName) return paramErr;
  (void)catalogInfo;
  OSErr err = verify_ref(*ref);
  if (err != noErr) return err;
  FSSpec spec{};
  if (fsSpec && (err = make_spec(*ref, spec)) != noErr) return err;
  FSRef parent;
  if (parentRef && ref->path != "/" && (err = make_ref(parent_of(ref->path), parent)) != noErr)
    return err;
  if (fsSpec) *fsSpec = spec;
  if (parentRef) *parentRef = ref->path == "/" ? FSRef{} : std::move(parent);
  return noErr;
}

OSErr FSpMakeFSRef(const FSSpec* spec, FSRef* ref) {
  if (!spec || !ref) return paramErr;
  FSRef found;
  OSErr err = resolve_spec(*spec, found);
  if (err == noErr) *ref = std::move(found);
  return err;
}

OSErr PBGetCatInfoSync(CInfoPBPtr pb) {
  if (!pb) return paramErr;
  HFileInfo& info = pb->hFileInfo;
  OSErr err = paramErr;
  if (info.ioNamePtr && info.ioFDirIndex == 0) {
    FSSpec spec{};
    spec.vRefNum = info.ioVRefNum;
    spec.parID = info.ioDirID;
    err = info.ioNamePtr[0] > 63 ? bdNamErr : noErr;
    if (err == noErr) std::memcpy(spec.name, info.ioNamePtr, info.ioNamePtr[0] + 1u);
    FSRef ref;
    struct stat st;
    if (err == noErr) err = resolve_spec(spec, ref, &st);
    if (err == noErr) {
      info.ioFlAttrib = S_ISDIR(st.st_mode) ? kioFlAttribDirMask : 0;
      info.ioFlParID = info.ioDirID;
      info.ioDirID = S_ISDIR(st.st_mode) ? folder_id(ref.path) : directory_id(st.st_ino);
      info.ioFlLgLen = st.st_size > INT32_MAX ? INT32_MAX : static_cast<SInt32>(st.st_size);
    }
  }
  info.ioResult = err;
  return err;
}
