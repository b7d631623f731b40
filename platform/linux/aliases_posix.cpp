// Resolving an alias record: its item is still there when the path leads to
// the same device and inode. Backed by stat(2).
#include <sys/stat.h>

#include "platform/aliases.h"

namespace platform {

OSErr resolve_alias(std::span<const std::uint8_t> bytes, std::string* path) {
  auto target = decode_alias(bytes);
  if (!target || path == nullptr) return paramErr;
  struct stat st {};
  if (::stat(target->path.c_str(), &st) != 0) return fnfErr;
  if (static_cast<std::uint64_t>(st.st_dev) != target->device ||
      static_cast<std::uint64_t>(st.st_ino) != target->inode) {
    return fnfErr;
  }
  *path = std::move(target->path);
  return noErr;
}

}  // namespace platform
