#include "platform/bundle.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace platform {
namespace {

std::string& bundle_path_storage() {
  static std::string path;
  return path;
}

}  // namespace

const std::string& main_bundle_path() {
  return bundle_path_storage();
}

void set_main_bundle_path(std::string path) {
  bundle_path_storage() = std::move(path);
}

bool touch_modification_date(const std::string& path) {
  if (path.empty()) return false;
  struct timespec times[2];
  times[0].tv_nsec = UTIME_OMIT;  // keep the access time
  times[0].tv_sec = 0;
  times[1].tv_nsec = UTIME_NOW;
  times[1].tv_sec = 0;
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace platform
