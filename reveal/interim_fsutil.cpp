// FIXME: stands in for the folder specification of the file utilities until
// they are built; remove it then. Weak, so that the real one wins.
#include "platform/types.h"

namespace platform {
OSErr interim_path_to_fsspec(const char* path, FSSpec* spec);
}

__attribute__((weak)) OSErr MyMakeFolderFSSpec(FSSpec* spec, SInt16 level, ConstStr255Param path,
                                               SInt32 count) {
  SInt32 target = count - level;
  char text[256];
  int length = 0;
  SInt16 slashes = 0;
  for (int i = 1; i <= path[0]; ++i) {
    text[length++] = static_cast<char>(path[i]);
    if (path[i] == '/') ++slashes;
    if (slashes == target) break;
  }
  text[length] = '\0';
  return platform::interim_path_to_fsspec(text, spec);
}
