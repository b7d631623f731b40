// The event monitor on X11: XInput 2 raw button presses on the root window.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/input.h"
#include "platform/linux/click_counter.h"
#include "platform/linux/x11_display.h"

struct OpaqueEventHandlerRef {
  EventHandlerUPP proc;
  void* user_data;
  std::vector<EventTypeSpec> types;
};

struct OpaqueEventTargetRef {
  std::vector<std::unique_ptr<OpaqueEventHandlerRef>> handlers;
};

namespace platform {
namespace {

// Raw presses of the master pointers only: selecting all devices would
// report each press twice, once from the physical device and once from the
// master it drives.
constexpr int kWatchedDevices = XIAllMasterDevices;
// X reports wheel turns as presses of buttons 4 to 7.
constexpr UInt32 kFirstWheelButton = 4;
constexpr UInt32 kLastWheelButton = 7;

struct RawPress {
  UInt32 button;
  UInt32 time_ms;
};

// The connection that watches the desktop, open from the first successful
// InstallEventHandler on the monitor target.
class MonitorConnection {
 public:
  bool is_open() const { return m_display != nullptr; }
  Display* display() const { return m_display.get(); }
  int xi_opcode() const { return m_xi_opcode; }

  // Opens the display and selects raw button presses on its root window.
  // On failure stores the reason and returns false.
  bool open(std::string* failure) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0')
      return fail(failure, "no X11 display: DISPLAY is not set");
    XDisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return fail(failure, std::string("cannot open the X11 display ") + name);
    int event = 0, error = 0;
    if (!XQueryExtension(display.get(), "XInputExtension", &m_xi_opcode, &event, &error))
      return fail(failure, "the X server has no XInput extension");
    int major = 2, minor = 2;
    if (XIQueryVersion(display.get(), &major, &minor) != Success || major < 2 ||
        (major == 2 && minor < 1))
      return fail(failure, "the X server has no XInput 2.1");
    select_raw_presses(display.get());
    m_display = std::move(display);
    return true;
  }

  void close() { m_display.reset(); }

 private:
  static bool fail(std::string* failure, std::string reason) {
    *failure = std::move(reason);
    return false;
  }

  static void select_raw_presses(Display* display) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawButtonPress);
    XIEventMask mask{kWatchedDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    // A round trip, so that presses made after installing are all seen.
    XSync(display, False);
  }

  XDisplayPtr m_display;
  int m_xi_opcode = 0;
};

OpaqueEventTargetRef s_monitor_target;
MonitorConnection s_connection;
ClickCounter s_clicks;
DoubleClickSettings s_settings;
std::string s_failure;
EventMonitorHost* s_host = nullptr;

bool is_wheel(UInt32 button) {
  return button >= kFirstWheelButton && button <= kLastWheelButton;
}

// The raw press an event carries, if it is one.
std::optional<RawPress> raw_press_of(Display* display, XEvent& event) {
  XGenericEventCookie* cookie = &event.xcookie;
  if (cookie->type != GenericEvent || cookie->extension != s_connection.xi_opcode()) return {};
  if (!XGetEventData(display, cookie)) return {};
  std::optional<RawPress> press;
  if (cookie->evtype == XI_RawButtonPress) {
    const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
    press = RawPress{static_cast<UInt32>(raw->detail), static_cast<UInt32>(raw->time)};
  }
  XFreeEventData(display, cookie);
  return press;
}

// Raw events carry no position; the pointer has not gone far since.
void pointer_position(Display* display, SInt32* x, SInt32* y) {
  Window root = 0, child = 0;
  int root_x = 0, root_y = 0, window_x = 0, window_y = 0;
  unsigned int buttons = 0;
  XQueryPointer(display, DefaultRootWindow(display), &root, &child, &root_x, &root_y, &window_x,
                &window_y, &buttons);
  *x = root_x;
  *y = root_y;
}

bool wants(const OpaqueEventHandlerRef& handler, const OpaqueEventRef& event) {
  for (const EventTypeSpec& type : handler.types) {
    if (type.eventClass == event.eventClass && type.eventKind == event.eventKind) return true;
  }
  return false;
}

// Handlers may install further handlers, so the list is walked by index.
void deliver(OpaqueEventRef event) {
  auto& handlers = s_monitor_target.handlers;
  for (std::size_t i = 0; i < handlers.size(); ++i) {
    OpaqueEventHandlerRef& handler = *handlers[i];
    if (wants(handler, event)) handler.proc(nullptr, &event, handler.user_data);
  }
}

void handle_press(Display* display, const RawPress& press) {
  if (is_wheel(press.button)) return;
  SInt32 x = 0, y = 0;
  pointer_position(display, &x, &y);
  UInt32 count = s_clicks.press(press.button, press.time_ms, x, y, s_settings);
  deliver(OpaqueEventRef{kEventClassMouse, kEventMouseDown, count, press.button});
}

bool already_installed(const OpaqueEventTargetRef& target, EventHandlerUPP proc, void* data) {
  for (const auto& handler : target.handlers) {
    if (handler->proc == proc && handler->user_data == data) return true;
  }
  return false;
}

OSStatus open_connection() {
  if (s_connection.is_open()) return noErr;
  if (!s_connection.open(&s_failure)) return eventInternalErr;
  s_failure.clear();
  if (s_host) s_host->watch_descriptor(event_monitor_descriptor());
  return noErr;
}

}  // namespace

std::string event_monitor_failure() {
  return s_failure;
}

void set_double_click_settings(SInt32 interval_ms, SInt32 distance_px) {
  s_settings.interval_ms = static_cast<UInt32>(interval_ms < 0 ? 0 : interval_ms);
  s_settings.distance_px = distance_px < 0 ? 0 : distance_px;
}

EventMonitorHost* install_backing(EventMonitorHost* host) {
  EventMonitorHost* replaced = std::exchange(s_host, host);
  if (s_host && s_connection.is_open()) s_host->watch_descriptor(event_monitor_descriptor());
  return replaced;
}

int event_monitor_descriptor() {
  return s_connection.is_open() ? ConnectionNumber(s_connection.display()) : -1;
}

void dispatch_event_monitor() {
  Display* display = s_connection.display();
  if (display == nullptr) return;
  // Replies read while handling a press may bring further events into
  // Xlib's queue, so the queue is drained rather than the socket.
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (std::optional<RawPress> press = raw_press_of(display, event)) handle_press(display, *press);
  }
}

void reset_event_monitor() {
  s_monitor_target.handlers.clear();
  s_connection.close();
  s_clicks = ClickCounter();
  s_failure.clear();
}

}  // namespace platform

EventTargetRef GetEventMonitorTarget() {
  return &platform::s_monitor_target;
}

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef) {
  if (target == nullptr || handler == nullptr || (numTypes > 0 && list == nullptr)) return paramErr;
  if (platform::already_installed(*target, handler, userData))
    return eventHandlerAlreadyInstalledErr;
  if (target == &platform::s_monitor_target) {
    if (OSStatus status = platform::open_connection(); status != noErr) return status;
  }
  auto installed = std::make_unique<OpaqueEventHandlerRef>(
      OpaqueEventHandlerRef{handler, userData, std::vector<EventTypeSpec>(list, list + numTypes)});
  if (outRef) *outRef = installed.get();
  target->handlers.push_back(std::move(installed));
  return noErr;
}

OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType* outActualType, ByteCount inBufferSize,
                           ByteCount* outActualSize, void* outData) {
  if (inEvent == nullptr || outData == nullptr) return paramErr;
  if (inName != kEventParamClickCount || inEvent->eventClass != kEventClassMouse)
    return eventParameterNotFoundErr;
  if (inDesiredType != typeUInt32) return errAECoercionFail;
  if (inBufferSize < sizeof(UInt32)) return paramErr;
  std::memcpy(outData, &inEvent->clickCount, sizeof(UInt32));
  if (outActualType) *outActualType = typeUInt32;
  if (outActualSize) *outActualSize = sizeof(UInt32);
  return noErr;
}
