// Paths and references: FSPathMakeRef, the URL conversions and FSFindFolder.
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/linux/files_internal.h"
#include "platform/places.h"
#include "platform/text.h"
#include "platform/utf.h"

namespace platform::files {

std::string parent_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string name_of(const std::string& path) {
  if (path == "/") return {};
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string join(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  path += name;
  return path;
}

OSErr make_ref(const std::string& path, FSRef& ref, struct stat* st) {
  struct stat local;
  struct stat& info = st ? *st : local;
  if (::stat(path.c_str(), &info) != 0) return status_from_errno(errno);
  ref.path = path;
  ref.device = info.st_dev;
  ref.inode = info.st_ino;
  return noErr;
}

OSErr verify_ref(const FSRef& ref, struct stat* st) {
  struct stat local;
  struct stat& info = st ? *st : local;
  if (ref.path.empty() || ref.path[0] != '/') return fnfErr;
  if (::stat(ref.path.c_str(), &info) != 0) return status_from_errno(errno);
  if (info.st_dev != ref.device || info.st_ino != ref.inode) return fnfErr;
  return noErr;
}

bool utf16_to_utf8(const UniChar* text, UniCharCount length, std::string& out) {
  out.clear();
  if (length > 0 && !text) return false;
  return platform::utf16_to_utf8(std::u16string(text, text + length), out);
}

bool valid_item_name(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

std::string home_folder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return home;
  struct passwd* entry = ::getpwuid(::getuid());
  return entry && entry->pw_dir ? entry->pw_dir : "";
}

namespace {

std::string current_folder() {
  std::vector<char> buffer(PATH_MAX);
  if (!::getcwd(buffer.data(), buffer.size())) return {};
  return buffer.data();
}

// An absolute path without empty and "." components and without a trailing
// "/". A path with ".." goes through realpath(3), because a lexical ".."
// after a symbolic link would lead elsewhere than the file system does.
OSErr normalise(std::string_view raw, std::string& out) {
  std::string absolute(raw);
  if (absolute[0] != '/') {
    std::string here = current_folder();
    if (here.empty()) return status_from_errno(errno);
    absolute = join(here, raw);
  }
  out.clear();
  bool climbs = false;
  std::size_t at = 0;
  while (at < absolute.size()) {
    std::size_t slash = absolute.find('/', at);
    if (slash == std::string::npos) slash = absolute.size();
    std::string_view part(absolute.data() + at, slash - at);
    if (part == "..") climbs = true;
    if (!part.empty() && part != ".") (out += '/') += part;
    at = slash + 1;
  }
  if (out.empty()) out = "/";
  if (!climbs) return noErr;
  char resolved[PATH_MAX];
  if (!::realpath(absolute.c_str(), resolved)) return status_from_errno(errno);
  out = resolved;
  return noErr;
}

}  // namespace

OSErr make_folders(const std::string& path, mode_t mode) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? noErr : dirNFErr;
  if (path != "/") {
    OSErr err = make_folders(parent_of(path), mode);
    if (err != noErr) return err;
  }
  if (::mkdir(path.c_str(), mode) != 0 && errno != EEXIST) return status_from_errno(errno);
  return noErr;
}

}  // namespace platform::files

using namespace platform::files;
using platform::status_from_errno;

OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory) {
  if (!ref) return paramErr;
  if (!path || path[0] == 0) return fnfErr;
  std::string_view raw(reinterpret_cast<const char*>(path));
  std::string normal;
  OSErr err = normalise(raw, normal);
  if (err != noErr) return err;
  FSRef made;
  struct stat st;
  err = make_ref(normal, made, &st);
  // A path from a short text may name components in their shortened form;
  // the walk has stat'ed the item already.
  if (err == fnfErr && (err = resolve_short_path(normal, made.path, st)) == noErr) {
    made.device = st.st_dev;
    made.inode = st.st_ino;
  }
  if (err != noErr) return err;
  if (raw.back() == '/' && !S_ISDIR(st.st_mode)) return dirNFErr;
  *ref = std::move(made);
  if (isDirectory) *isDirectory = S_ISDIR(st.st_mode);
  return noErr;
}

CFURLRef CFURLCreateFromFSRef(CFAllocatorRef allocator, const FSRef* ref) {
  struct stat st;
  if (!ref || verify_ref(*ref, &st) != noErr) return nullptr;
  CFStringRef path = CFStringCreateWithUTF8(ref->path);
  CFURLRef url =
      CFURLCreateWithFileSystemPath(allocator, path, kCFURLPOSIXPathStyle, S_ISDIR(st.st_mode));
  CFRelease(path);
  return url;
}

Boolean CFURLGetFSRef(CFURLRef url, FSRef* ref) {
  if (!url || !ref || url->path.empty()) return false;
  std::string normal;
  if (normalise(url->path, normal) != noErr) return false;
  return make_ref(normal, *ref) == noErr;
}

OSErr FSFindFolder(FSVolumeRefNum vRefNum, OSType folderType, Boolean createFolder,
                   FSRef* foundRef) {
  if (!foundRef) return paramErr;
  if (vRefNum != kUserDomain || folderType != kPreferencesFolderType) return fnfErr;
  std::string folder = platform::config_home();
  if (folder.empty()) return fnfErr;
  std::string normal;
  if (normalise(folder, normal) != noErr) normal = folder;
  if (createFolder) {
    OSErr err = make_folders(normal, 0700);
    if (err != noErr) return err;
  }
  return make_ref(normal, *foundRef);
}
