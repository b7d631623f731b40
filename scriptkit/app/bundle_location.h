// Where the application bundle (the folder holding Main.layout,
// Main.applescript and the icon) is found.
#pragma once

#include <filesystem>

namespace scriptkit::app {

// The installed resource folder beside the running program
// (<prefix>/bin/tavrine -> <prefix>/share/tavrine), else the source tree's
// resources/ when the program runs from its build folder, else the folder of
// the configured install prefix. The first that holds a Main.layout wins.
std::filesystem::path find_application_bundle();

}  // namespace scriptkit::app
