// Items in folders: finding, creating, deleting and replacing them.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/linux/files_internal.h"

namespace platform::files {
namespace {

// The path of `name` (UTF-16) inside the folder parentRef, which must still
// be the folder it was.
OSErr child_path(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                 std::string& path) {
  if (!parentRef) return paramErr;
  struct stat st;
  OSErr err = verify_ref(*parentRef, &st);
  if (err != noErr) return err;
  if (!S_ISDIR(st.st_mode)) return dirNFErr;
  std::string utf8;
  if (!utf16_to_utf8(name, nameLength, utf8) || !valid_item_name(utf8)) return bdNamErr;
  path = join(parentRef->path, utf8);
  return noErr;
}

// Fills the outputs of a creation call for the item made at path.
OSErr describe_new_item(const std::string& path, FSRef* newRef, FSSpec* newSpec, UInt32* newDirID) {
  FSRef made;
  OSErr err = make_ref(path, made);
  if (err != noErr) return err;
  if (newSpec) err = make_spec(made, *newSpec);
  if (newDirID) *newDirID = static_cast<UInt32>(folder_id(path));
  if (newRef) *newRef = std::move(made);
  return err;
}

// The file a path finally leads to after its symbolic links, also when that
// file does not exist yet (a dangling link names the file to create).
OSErr link_target(const std::string& path, std::string& target) {
  target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0) {
      return errno == ENOENT ? OSErr{noErr} : status_from_errno(errno);
    }
    if (!S_ISLNK(st.st_mode)) return noErr;
    char text[PATH_MAX];
    ssize_t length = ::readlink(target.c_str(), text, sizeof text - 1);
    if (length < 0) return status_from_errno(errno);
    std::string next(text, static_cast<std::size_t>(length));
    target = next[0] == '/' ? next : join(parent_of(target), next);
  }
  return fnfErr;  // a loop of links
}

// The same, with its folder spelled without "..", links or doubled slashes.
OSErr canonical_target(const std::string& path, std::string& target) {
  OSErr err = link_target(path, target);
  if (err != noErr) return err;
  char folder[PATH_MAX];
  if (!::realpath(parent_of(target).c_str(), folder)) return status_from_errno(errno);
  target = join(folder, name_of(target));
  return noErr;
}

void sync_folder(const std::string& folder) {
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) ::fsync(fd.get());
}

// Gives the replacement the original's permissions, and its owner where the
// file system lets us (a user cannot give a file away; that is fine).
OSErr copy_permissions(const struct stat& original, const std::string& replacement) {
  if (::chmod(replacement.c_str(), original.st_mode & 07777) != 0) return status_from_errno(errno);
  struct stat st;
  if (::stat(replacement.c_str(), &st) == 0 &&
      (st.st_uid != original.st_uid || st.st_gid != original.st_gid)) {
    (void)!::chown(replacement.c_str(), original.st_uid, original.st_gid);
  }
  return noErr;
}

}  // namespace
}  // namespace platform::files

using namespace platform::files;
using platform::status_from_errno;

OSErr FSMakeFSRefUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                         TextEncoding /*textEncodingHint*/, FSRef* newRef) {
  std::string path;
  OSErr err = child_path(parentRef, nameLength, name, path);
  if (err != noErr) return err;
  FSRef found;
  err = make_ref(path, found);
  if (err == noErr && newRef) *newRef = std::move(found);
  return err;
}

OSErr FSCreateDirectoryUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                               FSCatalogInfoBitmap whichInfo, const void* /*catalogInfo*/,
                               FSRef* newRef, FSSpec* newSpec, UInt32* newDirID) {
  if (whichInfo != kFSCatInfoNone) return paramErr;
  std::string path;
  OSErr err = child_path(parentRef, nameLength, name, path);
  if (err != noErr) return err;
  if (::mkdir(path.c_str(), 0777) != 0) return status_from_errno(errno);
  return describe_new_item(path, newRef, newSpec, newDirID);
}

OSErr FSCreateFileUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                          FSCatalogInfoBitmap whichInfo, const void* /*catalogInfo*/, FSRef* newRef,
                          FSSpec* newSpec) {
  if (whichInfo != kFSCatInfoNone) return paramErr;
  std::string path;
  OSErr err = child_path(parentRef, nameLength, name, path);
  if (err != noErr) return err;
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
  if (!fd.valid()) return status_from_errno(errno);
  if (fd.reset() != 0) return status_from_errno(errno);
  return describe_new_item(path, newRef, newSpec, nullptr);
}

OSErr FSDeleteObject(const FSRef* ref) {
  struct stat st;
  if (!ref) return paramErr;
  OSErr err = verify_ref(*ref, &st);
  if (err != noErr) return err;
  int result = S_ISDIR(st.st_mode) ? ::rmdir(ref->path.c_str()) : ::unlink(ref->path.c_str());
  return result == 0 ? OSErr{noErr} : status_from_errno(errno);
}

OSErr FSGetTemporaryDirectoryForReplaceObject(const FSRef* originalObject,
                                              FSRef* temporaryDirectory, OptionBits /*flags*/) {
  if (!originalObject || !temporaryDirectory) return paramErr;
  OSErr err = verify_ref(*originalObject);
  if (err != noErr) return err;
  std::string target;
  err = canonical_target(originalObject->path, target);
  if (err != noErr) return err;
  return make_ref(parent_of(target), *temporaryDirectory);
}

OSStatus FSReplaceObject(const FSRef* originalObject, const FSRef* replacementObject,
                         CFStringRef newName, CFStringRef temporaryName,
                         const FSRef* temporaryDirectory, OptionBits flags, FSRef* resultObject) {
  if (!originalObject || !replacementObject || newName || temporaryName || temporaryDirectory)
    return paramErr;
  struct stat st;
  OSErr err = verify_ref(*replacementObject, &st);
  if (err != noErr) return err;
  if (!S_ISREG(st.st_mode)) return notAFileErr;
  std::string target;
  err = canonical_target(originalObject->path, target);
  if (err != noErr) return err;
  struct stat original;
  if (::stat(target.c_str(), &original) == 0) {
    if (S_ISDIR(original.st_mode)) return notAFileErr;
    if (flags & kFSReplaceObjectPreservePermissionInfo) {
      err = copy_permissions(original, replacementObject->path);
      if (err != noErr) return err;
    }
  }
  if (::rename(replacementObject->path.c_str(), target.c_str()) != 0)
    return status_from_errno(errno);
  sync_folder(parent_of(target));
  if (resultObject) make_ref(originalObject->path, *resultObject);
  return noErr;
}
