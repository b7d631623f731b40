// QuickDraw's cursor data: the image of the current cursor as a pixel map.
// The image comes from a cursor-image source: the X11 backing (XFixes) on
// the desktop, a fixed picture in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/backings.h"
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
// True when the pixels can be read (the map has pixel data, and the source
// that made it did not say otherwise).
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

// What QDGetCursorData asks for the image (platform/backings.h).
class CursorImageSource {
 public:
  virtual ~CursorImageSource() = default;
  // Fills the current cursor's image; false when there is none.
  virtual bool current_cursor_image(CursorImage& image) = 0;
  // Sees each pixel map QDGetCursorData makes from this source's image
  // before it is returned. The platform's own source leaves it alone; a test
  // source may change it into one the classic platform could hand out and
  // this one never does (another depth, flag bits in rowBytes, no pixel
  // data), and returns false to make LockPixels fail on it. The pixels stay
  // owned by the map, whatever baseAddr becomes.
  virtual bool adjust_pixmap(PixMap& /*map*/) { return true; }
};

// The platform's own source (the X11 backing), or nullptr where there is none.
CursorImageSource* default_cursor_image_source();

// Pixel maps made and not yet disposed of.
std::size_t live_pixmap_count();

}  // namespace platform
