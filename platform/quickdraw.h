// QuickDraw's cursor data: the image of the current cursor as a pixel map.
// The image comes from a cursor-image source: the X11 backing (XFixes) on
// the desktop, a fixed picture in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/types.h"

struct Rect {
  SInt16 top;
  SInt16 left;
  SInt16 bottom;
  SInt16 right;
};

// A pixel map. The pixels start at baseAddr, row after row from the top;
// a row is (rowBytes & 0x3FFF) bytes long; the two top bits of rowBytes are
// flags (0x8000: this is a pixel map). A 32-bit pixel is stored big-endian
// ARGB: its first byte in memory is alpha, then red, green and blue.
struct PixMap {
  Ptr baseAddr;
  SInt16 rowBytes;
  Rect bounds;
  SInt16 pixelSize;  // bits per pixel: 32
  SInt16 cmpCount;   // components per pixel: 4
  SInt16 cmpSize;    // bits per component: 8
};
using PixMapPtr = PixMap*;
using PixMapHandle = PixMap**;

enum : SInt16 { kPixMapFlag = static_cast<SInt16>(0x8000), kRowBytesMask = 0x3FFF };
// No cursor image can be had (no source, or the source has none).
enum : OSStatus { kQDNoCursorImageErr = -9980 };

// The image of the current cursor (contextCursor false; true is not
// supported and gives paramErr) as a new 32-bit pixel map, and its hot spot.
// The caller disposes of the pixel map with DisposePixMap. An image wider
// than 4095 pixels cannot be described and also gives kQDNoCursorImageErr.
OSStatus QDGetCursorData(Boolean contextCursor, PixMapHandle* crsrData, Point* hotSpot);
// True when the pixels can be read (the map has pixel data, and no test hook
// said otherwise).
Boolean LockPixels(PixMapHandle pm);
void UnlockPixels(PixMapHandle pm);
// Frees the pixel map and its pixels. Null and unknown handles are ignored.
void DisposePixMap(PixMapHandle pm);

namespace platform {

// A cursor image as a source delivers it.
struct CursorImage {
  int width = 0;
  int height = 0;
  Point hot_spot{};
  // width × height pixels, row by row from the top, each 0xAARRGGBB.
  std::vector<std::uint32_t> argb;
};

class CursorImageSource {
 public:
  virtual ~CursorImageSource() = default;
  // Fills the current cursor's image; false when there is none.
  virtual bool current_cursor_image(CursorImage& image) = 0;
};

// Installs the source QDGetCursorData asks (not owned); nullptr goes back to
// the platform's own, default_cursor_image_source().
void set_cursor_image_source(CursorImageSource* source);
// The platform's own source (the X11 backing), or nullptr where there is none.
CursorImageSource* default_cursor_image_source();

// Pixel maps made and not yet disposed of.
std::size_t live_pixmap_count();

// For tests: pixel maps as the classic platform could hand them out and this
// one never does (another depth, flag bits in rowBytes, no pixel data,
// pixels that cannot be locked). Each pixel map QDGetCursorData makes passes
// through the hook before it is returned; the hook may change its fields and
// returns false to make LockPixels fail on that map. The pixels stay owned
// by the map, whatever baseAddr becomes. An empty hook removes it.
using PixMapTestHook = std::function<bool(PixMap& map)>;
void set_pixmap_test_hook(PixMapTestHook hook);

}  // namespace platform
