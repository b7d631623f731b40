// Items in folders: finding, creating and deleting them.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
