#include "scriptkit/app/bundle_location.h"

namespace scriptkit::app {

std::filesystem::path find_application_bundle() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    fs::path installed = exe.parent_path().parent_path() / "share" / "tavrine";
    if (fs::exists(installed / "Main.layout", ec)) return installed;
  }
#ifdef TAVRINE_SOURCE_RESOURCES
  if (fs::exists(fs::path(TAVRINE_SOURCE_RESOURCES) / "Main.layout", ec)) {
    return TAVRINE_SOURCE_RESOURCES;
  }
#endif
#ifdef TAVRINE_INSTALLED_RESOURCES
  return TAVRINE_INSTALLED_RESOURCES;
#else
  return {};
#endif
}

}  // namespace scriptkit::app
