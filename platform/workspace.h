// The desktop's workspace: the icon it shows for a file. Backed by GIO: a
// desktop entry's Icon, else the themed icon of the file's content type.
#pragma once

#include <string>

namespace platform {

// Themed icon names, best first and separated by ";" ("image-png;image-x-generic"),
// or an absolute icon file path; "unknown" when nothing better is known.
// Never fails.
std::string icon_for_file(const std::string& path);

}  // namespace platform
