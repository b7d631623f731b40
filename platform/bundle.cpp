#include "platform/bundle.h"

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

}  // namespace platform
