#include "scriptkit/app/application.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/bundle.h"
#include "scriptkit/runtime/objc.h"

namespace {

// The bundle is the installed resource folder, or the source tree's resources
// when the program runs from its build folder.
std::string find_bundle() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    fs::path installed = exe.parent_path().parent_path() / "share" / "tavrine";
    if (fs::exists(installed / "Main.layout", ec)) return installed.string();
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

}  // namespace

int ASKInitialize() {
  return 0;
}

int NSApplicationMain(int argc, const char** argv) {
  platform::set_main_bundle_path(find_bundle());
  scriptkit::runtime::load_program_methods();
  std::printf("tavrine: bundle %s\n", platform::main_bundle_path().c_str());
  for (int i = 1; i < argc; ++i) std::printf("tavrine: open %s\n", argv[i]);
  return 0;
}
