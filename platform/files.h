// The File Manager: file references, file specifications, Finder information,
// folders and file data, backed by the Linux file system.
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/cf.h"
#include "platform/types.h"

// A resolved item: its absolute POSIX path (UTF-8), device and inode.
struct FSRef {
  std::string path;
  dev_t device = 0;
  ino_t inode = 0;
};
