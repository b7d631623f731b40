// A private X server for the tests that need a desktop: Xvfb on a free
// display, with DISPLAY pointing at it, and xdotool to drive its pointer.
#pragma once

#include <functional>
#include <string>

namespace testing_support {

// The process's server, started on first use and stopped at exit; nullptr
// when Xvfb cannot be started (the caller skips).
const std::string* shared_xvfb_display();

// Runs xdotool with the arguments on the current DISPLAY; true when it
// exited with status 0.
bool xdotool(const std::string& arguments);

// True when a program of that name is on the PATH.
bool have_program(const char* name);

// Dispatches the event monitor's events until done() holds or timeout_ms
// has passed; returns done().
bool pump_monitor_until(const std::function<bool()>& done, int timeout_ms = 3000);

}  // namespace testing_support
