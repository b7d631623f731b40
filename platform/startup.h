// Startup notification: how a launch tells the desktop that a program is
// starting on the user's behalf (so the desktop shows a busy cursor and lets
// that program's window come to the front) and that it has started. On X11
// these are the startup-notification messages, sent to the root window of
// $DISPLAY in ClientMessage pieces of 20 bytes:
//   new: ID=<id> NAME=<name> SCREEN=<n>      a startup begins
//   remove: ID=<id>                          it is complete
// Without an X display they do nothing: a Wayland compositor hands out its
// own activation tokens, which travel unchanged.
#pragma once

#include <string>

namespace platform {

// Announces a startup with this id (made by make_startup_id) for the
// program named, before the request that carries the id goes out.
void announce_startup(const std::string& id, const std::string& name);
// Says that the startup is complete. With a window (an X window id), also
// asks the window manager to activate it with the time the id carries, which
// a focus-stealing prevention accepts where a later request would not be.
void complete_startup(const std::string& id, unsigned long window = 0);
// The timestamp of an id's "_TIME<n>" ending, or 0 when it has none.
unsigned long startup_time(const std::string& id);

}  // namespace platform
