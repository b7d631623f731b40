#include "shell/monitor.h"

#include <cstdio>

#include "shell/cursors.h"
#include "shell/records.h"
#include "shell/trigger_scripts.h"
#include "window/scriptrunner.h"

PixMapHandle G_crsrData = nullptr;

namespace {

// The rows of a cursor image: kCursorSide pixels of 4 bytes.
constexpr int kCursorRowBytes = 4 * kCursorSide;

void ReportMonitorNotInstalled() {
  static Boolean reported = false;
  if (reported) return;
  reported = true;
  std::fprintf(stderr, "tavrine: double-clicks in other programs are not watched (%s)\n",
               platform::event_monitor_failure().c_str());
}

// The first byte of each pixel, as a signed byte, against one stored image;
// stops at the first difference.
Boolean MatchesStoredCursor(const char* pixels, const SInt32* stored) {
  for (int i = 0; i < kCursorSide; i++) {
    for (int j = 0; j < kCursorSide; j++) {
      SInt32 sampled = static_cast<SInt8>(pixels[kCursorRowBytes * i + 4 * j]);
      if (sampled != stored[kCursorSide * i + j]) return false;
    }
  }
  return true;
}

Boolean MatchesAStoredCursor(const char* pixels) {
  const SInt32* stored[] = {G_CURSOR_Crsr1, G_CURSOR_Crsr2, G_CURSOR_Crsr1PC, G_CURSOR_Crsr2PC};
  for (const SInt32* image : stored) {
    if (MatchesStoredCursor(pixels, image)) return true;
  }
  return false;
}

// Only a 16 × 16 image of 32-bit pixels in 64-byte rows is compared.
Boolean IsComparable(const PixMap& map) {
  return (map.rowBytes & kRowBytesMask) == kCursorRowBytes && map.pixelSize == 32 &&
         map.bounds.bottom == kCursorSide && map.bounds.right == kCursorSide;
}

// Whether the locked image in G_crsrData counts; unlocks it.
Boolean LockedCursorCounts() {
  const PixMap& map = **G_crsrData;
  Boolean counts;
  if (!IsComparable(map)) {
    counts = false;
  } else if (map.baseAddr == nullptr) {
    counts = true;
  } else {
    counts = MatchesAStoredCursor(map.baseAddr);
  }
  UnlockPixels(G_crsrData);
  return counts;
}

// Frees the pixel data and then the pixel map: DisposePixMap does both here,
// as the pixels belong to the map.
void ReleaseCursorImage() {
  if (G_crsrData == nullptr) return;
  DisposePixMap(G_crsrData);
  G_crsrData = nullptr;
}

// Takes the current cursor's image and decides whether the click counts. An
// image that cannot be had or read counts, so that the user is never left
// without a response.
Boolean CursorCounts() {
  Point hotSpot;
  G_crsrData = nullptr;
  QDGetCursorData(false, &G_crsrData, &hotSpot);
  if (G_crsrData == nullptr) return true;
  Boolean counts = LockPixels(G_crsrData) ? LockedCursorCounts() : true;
  ReleaseCursorImage();
  return counts;
}

// The flag changes before the script runs, whatever becomes of the script.
OSStatus NudgeTriggerButton() {
  if (G_TRIGGERBUTTONWASEXPANDED) {
    G_TRIGGERBUTTONWASEXPANDED = false;
    return SimpleRunAppleScript(kNarrowTriggerScript);
  }
  G_TRIGGERBUTTONWASEXPANDED = true;
  return SimpleRunAppleScript(kWidenTriggerScript);
}

}  // namespace

void MyInstallEventHandler() {
  static constexpr EventTypeSpec kMouseDownEvents[] = {{kEventClassMouse, kEventMouseDown}};
  OSStatus status =
      InstallEventHandler(GetEventMonitorTarget(), NewEventHandlerUPP(MouseDownHandler), 1,
                          kMouseDownEvents, nullptr, nullptr);
  // A second call finds the handler in place; that is no failure.
  if (status != noErr && status != eventHandlerAlreadyInstalledErr) ReportMonitorNotInstalled();
}

OSStatus MouseDownHandler(EventHandlerCallRef, EventRef inEvent, void*) {
  UInt32 clickCount = 0;
  OSStatus status = GetEventParameter(inEvent, kEventParamClickCount, typeUInt32, nullptr,
                                      sizeof clickCount, nullptr, &clickCount);
  if (status != noErr || clickCount != 2) return status;
  if (!CursorCounts()) return noErr;
  return NudgeTriggerButton();
}
