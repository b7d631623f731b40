// Where the user's own settings live.
#pragma once

#include <string>

namespace platform {

// The user's settings folder: $XDG_CONFIG_HOME when it is an absolute path,
// else ~/.config ($HOME, else the password database). Empty when there is no
// home.
std::string config_home();

}  // namespace platform
