// Bundles: the application's own bundle (the folder of its resources) and the
// date it carries. Backed by the file system.
#pragma once

#include <string>

namespace platform {

// The application bundle's folder, as the framework found it at start-up;
// empty until then.
const std::string& main_bundle_path();
void set_main_bundle_path(std::string path);

// Sets a file's or folder's modification time to now. Returns false when the
// file system refuses (a read-only bundle keeps its date).
bool touch_modification_date(const std::string& path);

}  // namespace platform
