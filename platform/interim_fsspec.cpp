// FIXME: stands in for the file-reference operations of platform/files.h until
// they are built; remove it then. Weak, so that the real ones win.
//
// A file specification made here is (1, parent folder's inode, name); a table
// of the parent folders seen so far turns it back into a path.
#include <sys/stat.h>

#include <cstring>
#include <map>
#include <string>

#include "platform/files.h"

namespace platform {

std::map<SInt32, std::string>& interim_catalog() {
  static std::map<SInt32, std::string> folders;
  return folders;
}

__attribute__((weak)) OSErr interim_path_to_fsspec(const char* path, FSSpec* spec) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  struct stat st {};
  if (p.empty() || p.front() != '/' || ::stat(p.c_str(), &st) != 0) return fnfErr;
  *spec = FSSpec{};
  spec->vRefNum = 1;
  if (p == "/") {
    spec->parID = 1;
    return noErr;
  }
  std::string parent = p.substr(0, p.rfind('/'));
  if (parent.empty()) parent = "/";
  struct stat pst {};
  ::stat(parent.c_str(), &pst);
  spec->parID = static_cast<SInt32>(pst.st_ino);
  interim_catalog()[spec->parID] = parent;
  std::string name = p.substr(p.rfind('/') + 1);
  if (name.size() > 63) return bdNamErr;
  spec->name[0] = static_cast<unsigned char>(name.size());
  std::memcpy(spec->name + 1, name.data(), name.size());
  return noErr;
}

}  // namespace platform

__attribute__((weak)) OSErr FSpMakeFSRef(const FSSpec* spec, FSRef* ref) {
  std::string path;
  if (spec->parID == 1 && spec->name[0] == 0) {
    path = "/";
  } else {
    auto it = platform::interim_catalog().find(spec->parID);
    if (it == platform::interim_catalog().end()) return fnfErr;
    path = (it->second == "/" ? "" : it->second) + "/" +
           std::string(reinterpret_cast<const char*>(spec->name + 1), spec->name[0]);
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return fnfErr;
  *ref = FSRef{path, st.st_dev, st.st_ino};
  return noErr;
}
