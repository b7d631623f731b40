// Every platform service whose backing comes from outside the platform: from
// the layers above it (the toolkit's dialogs and bell, the framework's
// scripting component and event loop) or from a test that stands in for the
// real one. This is the one way to substitute a backing: install one here.
// Everything else a test needs comes from real components in sandboxes, and
// failures that real components cannot be made to show are injected with
// platform/faults.h.
//
// Each service has one installed backing at a time, not owned; nullptr
// removes it. install_backing returns the backing it replaces, so a caller
// can put it back (ScopedBacking does that).
#pragma once

namespace platform {

class AlertBacking;
class ChooserBacking;
class ScriptingComponentFactory;
class CursorImageSource;
class EventMonitorHost;
class SendObserver;

// SysBeep and StandardAlert (platform/alerts.h): the Qt toolkit's bell and
// message box while it has a display. Without one: a BEL, and the message, on
// standard error.
AlertBacking* install_backing(AlertBacking* backing);

// NavGetFile's application chooser (platform/nav.h): the toolkit's dialog.
// Without one the dialog is cancelled.
ChooserBacking* install_backing(ChooserBacking* backing);

// The AppleScript component that OpenDefaultComponent opens (platform/osa.h):
// the framework's script language. Without one there is no such component.
ScriptingComponentFactory* install_backing(ScriptingComponentFactory* backing);

// The current cursor's image, for QDGetCursorData (platform/quickdraw.h).
// Without one: the platform's own source, default_cursor_image_source() (X11).
CursorImageSource* install_backing(CursorImageSource* backing);

// What watches the event monitor's connection (platform/input.h): the
// toolkit's event loop. Installed while the connection is open, it is told
// the descriptor at once. Without one nobody reads the monitor's events.
EventMonitorHost* install_backing(EventMonitorHost* backing);

// What sees every event AESend is given, before delivery
// (platform/appleevents.h). Without one nothing does.
SendObserver* install_backing(SendObserver* backing);

// Installs a backing of Service for its own lifetime, then puts back the
// one it replaced.
template <class Service>
class ScopedBacking {
 public:
  explicit ScopedBacking(Service* backing) : m_replaced(install_backing(backing)) {}
  ~ScopedBacking() { install_backing(m_replaced); }
  ScopedBacking(const ScopedBacking&) = delete;
  ScopedBacking& operator=(const ScopedBacking&) = delete;

 private:
  Service* m_replaced;
};

}  // namespace platform
