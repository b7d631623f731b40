// The two ways of reaching the desktop's file manager (platform/filemanager.h).
#pragma once

#include <memory>
#include <string>

#include "platform/filemanager.h"

namespace platform {

// The provider of org.freedesktop.FileManager1 on the session bus (owner or
// activatable service), or nullptr.
std::unique_ptr<FileManager> find_bus_file_manager();
// The default application for folders when it is a file manager, or nullptr.
std::unique_ptr<FileManager> find_folder_handler_file_manager();

// A folder that nothing holds, so a file manager cannot select it: the root,
// or the top of a mounted file system.
bool is_unselectable_folder(const std::string& path);

}  // namespace platform
