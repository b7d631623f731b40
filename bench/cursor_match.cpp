// One double-click's handling without the script: the cursor image fetched
// over XFixes and compared with four stored images, each of which differs
// only in its last pixel, so that every comparison runs to the end. Needs an
// X server (DISPLAY); without one it says so and measures nothing.
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "platform/quickdraw.h"
#include "shell/cursors.h"
#include "shell/monitor.h"

namespace {

// A 16 × 16 two-colour cursor on a window under the pointer; the server
// hands it over as a 32-bit image like any other.
bool show_cursor_under_pointer(Display* display) {
  Window root = DefaultRootWindow(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  Window window = XCreateWindow(display, root, 0, 0, 64, 64, 0, CopyFromParent, InputOutput,
                                CopyFromParent, CWOverrideRedirect, &attributes);
  static const unsigned char shape[32] = {0xFF, 0x00, 0x0F, 0xF0, 0x33, 0xCC, 0x55, 0xAA,
                                          0xFF, 0x00, 0x0F, 0xF0, 0x33, 0xCC, 0x55, 0xAA,
                                          0xFF, 0x00, 0x0F, 0xF0, 0x33, 0xCC, 0x55, 0xAA,
                                          0xFF, 0x00, 0x0F, 0xF0, 0x33, 0xCC, 0x55, 0xAA};
  static const unsigned char mask[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
  Pixmap source =
      XCreateBitmapFromData(display, root, reinterpret_cast<const char*>(shape), 16, 16);
  Pixmap masked = XCreateBitmapFromData(display, root, reinterpret_cast<const char*>(mask), 16, 16);
  XColor black{}, white{};
  white.red = white.green = white.blue = 0xFFFF;
  Cursor cursor = XCreatePixmapCursor(display, source, masked, &black, &white, 0, 0);
  XDefineCursor(display, window, cursor);
  XMapRaised(display, window);
  XWarpPointer(display, None, root, 0, 0, 0, 0, 32, 32);
  XSync(display, False);
  return true;
}

// Stores the current cursor's first bytes in all four images, each with its
// last value changed.
bool store_near_misses() {
  platform::CursorImage image;
  if (!platform::default_cursor_image_source()->current_cursor_image(image)) return false;
  if (image.width != 16 || image.height != 16) return false;
  for (SInt32* stored : {G_CURSOR_Crsr1, G_CURSOR_Crsr2, G_CURSOR_Crsr1PC, G_CURSOR_Crsr2PC}) {
    for (int i = 0; i < 256; ++i) stored[i] = static_cast<SInt8>(image.argb[i] >> 24);
    stored[255] += 1;
  }
  return true;
}

void DoubleClickWithoutScript(benchmark::State& state) {
  OpaqueEventRef event{kEventClassMouse, kEventMouseDown, 2, 1};
  for (auto _ : state) benchmark::DoNotOptimize(MouseDownHandler(nullptr, &event, nullptr));
}
BENCHMARK(DoubleClickWithoutScript)->Unit(benchmark::kMicrosecond);

void CursorFetchAlone(benchmark::State& state) {
  platform::CursorImageSource* source = platform::default_cursor_image_source();
  platform::CursorImage image;
  for (auto _ : state) benchmark::DoNotOptimize(source->current_cursor_image(image));
}
BENCHMARK(CursorFetchAlone)->Unit(benchmark::kMicrosecond);

void SingleClickDismissed(benchmark::State& state) {
  OpaqueEventRef event{kEventClassMouse, kEventMouseDown, 1, 1};
  for (auto _ : state) benchmark::DoNotOptimize(MouseDownHandler(nullptr, &event, nullptr));
}
BENCHMARK(SingleClickDismissed);

}  // namespace

int main(int argc, char** argv) {
  const char* name = std::getenv("DISPLAY");
  Display* display = (name && *name) ? XOpenDisplay(nullptr) : nullptr;
  if (display == nullptr) {
    std::printf("bench_cursor_match: skipped, no X11 display\n");
    return 0;
  }
  if (!show_cursor_under_pointer(display) || !store_near_misses()) {
    std::printf("bench_cursor_match: skipped, the display gives no 16 x 16 cursor image\n");
    XCloseDisplay(display);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  XCloseDisplay(display);
  return 0;
}
