// Startup notification on X11 (platform/startup.h), with Xlib.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdlib.h>

#include <cstring>
#include <string>

#include "platform/linux/x11_display.h"
#include "platform/startup.h"

namespace platform {
namespace {

// The bytes of a message travel in pieces of this size, the first under
// _NET_STARTUP_INFO_BEGIN and the rest under _NET_STARTUP_INFO.
constexpr std::size_t kPieceBytes = 20;

XDisplayPtr open_display() {
  const char* name = ::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return nullptr;
  return XDisplayPtr(XOpenDisplay(name));
}

// A value as the protocol writes it: quoted, with quotes and backslashes
// escaped, when it holds a space or either of them.
std::string quoted(const std::string& value) {
  if (value.find_first_of(" \"\\") == std::string::npos) return value;
  std::string out = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

void send_message(const std::string& message) {
  XDisplayPtr display = open_display();
  if (!display) return;
  Display* d = display.get();
  Window root = DefaultRootWindow(d);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  // The messages name a window of the sender's own, made for them.
  Window sender = XCreateWindow(d, root, -100, -100, 1, 1, 0, CopyFromParent, InputOnly,
                                CopyFromParent, CWOverrideRedirect, &attributes);
  Atom begin = XInternAtom(d, "_NET_STARTUP_INFO_BEGIN", False);
  Atom more = XInternAtom(d, "_NET_STARTUP_INFO", False);
  const std::string bytes = message + '\0';
  for (std::size_t at = 0; at < bytes.size(); at += kPieceBytes) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = sender;
    event.xclient.message_type = at == 0 ? begin : more;
    event.xclient.format = 8;
    bytes.copy(event.xclient.data.b, kPieceBytes, at);
    XSendEvent(d, root, False, PropertyChangeMask, &event);
  }
  XDestroyWindow(d, sender);
  XSync(d, False);
}

// _NET_ACTIVE_WINDOW from an application (source 1) at the time given.
void activate(unsigned long window, unsigned long time) {
  XDisplayPtr display = open_display();
  if (!display) return;
  Display* d = display.get();
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 1;
  event.xclient.data.l[1] = static_cast<long>(time);
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
  XSync(d, False);
}

}  // namespace

void announce_startup(const std::string& id, const std::string& name) {
  if (id.empty()) return;
  XDisplayPtr display = open_display();
  const int screen = display ? DefaultScreen(display.get()) : 0;
  display.reset();
  send_message("new: ID=" + quoted(id) + " NAME=" + quoted(name) +
               " SCREEN=" + std::to_string(screen));
}

void complete_startup(const std::string& id, unsigned long window) {
  if (id.empty()) return;
  send_message("remove: ID=" + quoted(id));
  if (window != 0) activate(window, startup_time(id));
}

unsigned long startup_time(const std::string& id) {
  const std::size_t at = id.rfind("_TIME");
  if (at == std::string::npos) return 0;
  const std::string digits = id.substr(at + 5);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::strtoul(digits.c_str(), nullptr, 10);
}

}  // namespace platform
