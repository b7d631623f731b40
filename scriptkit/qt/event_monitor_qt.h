// The event loop's side of the double-click monitor: the monitor's X11
// connection is watched from the Qt event loop, and the monitor is told the
// desktop's double-click time and distance.
#pragma once

namespace scriptkit::qt {

// Installs the event loop as the monitor's host and hands the monitor the
// desktop's double-click time and distance (again whenever the time
// changes). Call once the application object exists; the monitor itself
// starts when the window script installs its handler.
void host_event_monitor();

}  // namespace scriptkit::qt
