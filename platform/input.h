// The event monitor: mouse-downs that the user makes in other programs,
// delivered to handlers installed on the monitor target.
//
// Backed on X11 by XInput 2 raw button presses selected on the root window of
// the display named by DISPLAY. X reports single presses only, so the click
// count is worked out here: a press of the same button within the desktop's
// double-click time and distance of the previous press counts one more
// (see platform/linux/click_counter.h). Raw presses carry no position, so a
// press's position is the pointer's when it is dispatched, which the event
// loop does right after the press. Wheel "buttons" are not mouse-downs.
//
// Nothing here starts a thread or a timer. The framework's event loop watches
// the connection's file descriptor (EventMonitorHost) and calls
// dispatch_event_monitor() when it becomes readable; handlers run inside that
// call, on the loop's thread.
#pragma once

#include <string>

#include "platform/backings.h"
#include "platform/types.h"

using ItemCount = unsigned long;
using ByteCount = unsigned long;
using EventParamName = OSType;
using EventParamType = OSType;

enum : UInt32 { kEventClassMouse = FOUR_CHAR_CODE("mous") };
enum : UInt32 { kEventMouseDown = 1 };
enum : EventParamName { kEventParamClickCount = FOUR_CHAR_CODE("ccnt") };
enum : EventParamType { typeUInt32 = FOUR_CHAR_CODE("magn") };

enum : OSStatus {
  eventHandlerAlreadyInstalledErr = -9866,
  eventInternalErr = -9868,
  eventParameterNotFoundErr = -9870,
  eventNotHandledErr = -9874,
};

// One kind of event a handler wants.
struct EventTypeSpec {
  UInt32 eventClass;
  UInt32 eventKind;
};

// An event as handlers see it. The monitor makes one for each mouse-down;
// tests may make their own.
struct OpaqueEventRef {
  UInt32 eventClass;
  UInt32 eventKind;
  UInt32 clickCount;  // 1 for a single click, 2 for the second press of a double-click, …
  UInt32 button;      // 1 left, 2 middle, 3 right, 8 and up: further buttons
};

struct OpaqueEventTargetRef;
struct OpaqueEventHandlerRef;
struct OpaqueEventHandlerCallRef;
using EventRef = OpaqueEventRef*;
using EventTargetRef = OpaqueEventTargetRef*;
using EventHandlerRef = OpaqueEventHandlerRef*;
using EventHandlerCallRef = OpaqueEventHandlerCallRef*;

using EventHandlerProcPtr = OSStatus (*)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                         void* inUserData);
using EventHandlerUPP = EventHandlerProcPtr;

inline EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc) {
  return proc;
}

// The target that receives user input going to other programs. Always the
// same target; asking for it opens nothing.
EventTargetRef GetEventMonitorTarget();

// Installs handler on target for the listed event types; userData is passed
// back on every call. On the monitor target this opens the X11 connection the
// first time. Returns paramErr for a null target or handler or a type list
// missing, eventHandlerAlreadyInstalledErr when the same handler with the
// same user data is installed there already (it would run twice for every
// event), and eventInternalErr when the desktop cannot be watched (no X11
// display, or no XInput 2.1): event_monitor_failure() then says why. On
// success stores the handler's reference in outRef when outRef is not null.
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef);

// Copies one parameter of an event into outData. Mouse-downs carry
// kEventParamClickCount as typeUInt32 (4 bytes). Returns paramErr for a null
// event or buffer or a buffer under the parameter's size,
// eventParameterNotFoundErr when the event has no such parameter and
// errAECoercionFail when it cannot be given as desiredType. actualType and
// actualSize may be null.
OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType* outActualType, ByteCount inBufferSize,
                           ByteCount* outActualSize, void* outData);

namespace platform {

// Why the monitor could not be installed, one short phrase ("no X11 display:
// DISPLAY is not set"); empty while nothing failed.
std::string event_monitor_failure();

// The desktop's double-click time and distance, from the toolkit's settings.
// Until set: 400 ms and 4 pixels. Negative values count as 0.
void set_double_click_settings(SInt32 interval_ms, SInt32 distance_px);

// What the framework's event loop implements (platform/backings.h): it
// watches a file descriptor and calls dispatch_event_monitor() whenever the
// descriptor is readable. The host is told the descriptor when the
// connection opens (the first handler is installed), or at once when it is
// installed while the connection is open.
class EventMonitorHost {
 public:
  virtual ~EventMonitorHost() = default;
  virtual void watch_descriptor(int fd) = 0;
};

// The monitor connection's file descriptor, or -1 while it is not open.
int event_monitor_descriptor();

// Reads every event waiting on the monitor connection, without blocking, and
// calls the installed handlers for each mouse-down. Harmless when the
// connection is not open.
void dispatch_event_monitor();

// Removes every handler and closes the connection; for tests.
void reset_event_monitor();

}  // namespace platform
