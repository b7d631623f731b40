// The current cursor's image, taken from the X server with XFixes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/types.h"

struct _XDisplay;  // Xlib's connection, kept out of this header

namespace platform {

// A cursor image as a 32-bit pixel map, laid out the way the mouse-down
// monitor and the capture read it: rows from the top, each pixel four bytes
// of premultiplied ARGB stored big-endian, so the first byte in memory is the
// pixel's alpha.
struct CursorImage {
  struct Bounds {
    SInt16 top;
    SInt16 left;
    SInt16 bottom;  // the height
    SInt16 right;   // the width
  };
  Bounds bounds{};
  // width * 4, with the pixel-map flag 0x8000 set; mask with 0x3FFF for the
  // row length in bytes.
  UInt16 rowBytes = 0;
  SInt16 pixelSize = 0;  // 32
  Point hotSpot{};
  std::vector<std::uint8_t> pixels;  // height rows of (rowBytes & 0x3FFF) bytes
};

enum : UInt16 { kPixMapFlag = 0x8000, kRowBytesMask = 0x3FFF };

// The widest image whose row length fits the row-bytes field; wider images
// are cut to it (no cursor comes near).
constexpr int kMaxCursorWidth = kRowBytesMask / 4;

// Fills image from XFixes pixels: width * height values, row by row, each an
// unsigned long whose low 32 bits hold premultiplied ARGB (on 64-bit systems
// the bits above are sign-filled and are ignored). Negative sizes count as 0.
void store_argb_pixels(const unsigned long* pixels, int width, int height, CursorImage* image);

// The image of the cursor on the display named by DISPLAY, over a
// connection of its own that opens on first use and stays open.
class X11CursorSource {
 public:
  // Copies the image the X server shows now into image. Returns false, with
  // image untouched, when there is no display, the server has no XFixes, or
  // it gives no image.
  bool copy_current(CursorImage* image);

 private:
  struct Closer {
    void operator()(_XDisplay* display) const;
  };

  bool connect();

  std::unique_ptr<_XDisplay, Closer> m_display;
};

// The source the process uses.
X11CursorSource& x11_cursor_source();

}  // namespace platform
