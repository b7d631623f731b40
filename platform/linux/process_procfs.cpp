// This program's own executable, as the kernel names it in /proc.
#include <unistd.h>

#include <string>

#include "platform/process.h"

namespace platform {

std::string own_path() {
  char path[4096];
  ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace platform
