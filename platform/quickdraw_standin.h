// QuickDraw's cursor data: the current cursor's image as a pixel map, and the
// Memory Manager's pointer blocks that hold its pixels. The image comes from
// a cursor-image source: the X11 one (XFixes, platform/linux/cursor_x11.h)
// unless a test installs its own.
//
// FIXME: the cursor part of the QuickDraw header, standing in until that
// header arrives; the monitor then includes it instead.
#pragma once

#include <cstddef>

#include "platform/linux/cursor_x11.h"
#include "platform/types.h"

struct Rect {
  SInt16 top;
  SInt16 left;
  SInt16 bottom;
  SInt16 right;
};

// A pixel map: rows of rowBytes & 0x3FFF bytes at baseAddr (the two top bits
// of rowBytes are flags), covering bounds, pixelSize bits to a pixel.
struct PixMap {
  Ptr baseAddr;
  SInt16 rowBytes;
  Rect bounds;
  SInt16 pixelType;  // 16: direct colour
  SInt16 pixelSize;
  SInt16 cmpCount;
  SInt16 cmpSize;
  OSType pixelFormat;
};
using PixMapPtr = PixMap*;
using PixMapHandle = PixMap**;

enum : OSType { k32ARGBPixelFormat = 0x00000020 };

// Copies the current cursor's image into a new pixel map and stores it in
// *crsrData, and the image's hot spot in *hotSpot (when not null). There is
// no context cursor apart from the current one, so contextCursor changes
// nothing. The pixels are a block from NewPtr (baseAddr, null for an image
// without pixels), to be freed with DisposePtr; the map itself goes with
// DisposePixMap. Returns noErr, or paramErr with *crsrData untouched when
// crsrData is null or the source gives no image.
OSStatus QDGetCursorData(Boolean contextCursor, PixMapHandle* crsrData, Point* hotSpot);

// Keeps the pixels in place while they are read. Returns false when they
// cannot be locked (an unknown map, or a source that says so).
Boolean LockPixels(PixMapHandle pm);
void UnlockPixels(PixMapHandle pm);
// Frees the pixel map, not its pixels. Unknown or null maps are ignored.
void DisposePixMap(PixMapHandle pm);

// A block of byteCount bytes, or null when byteCount is not positive.
Ptr NewPtr(Size byteCount);
// Frees a block from NewPtr. Null or unknown blocks are ignored.
void DisposePtr(Ptr p);

namespace platform {

// Where QDGetCursorData takes the image from.
class CursorImageSource {
 public:
  virtual ~CursorImageSource() = default;
  // Copies the current cursor's image; false when there is none.
  virtual bool copy_current(CursorImage* image) = 0;
  // False when the image's pixels may not be locked, as with a purged pixel
  // map; the X11 images can always be locked.
  virtual bool pixels_lockable() const { return true; }
};

// Installs a source (not owned); nullptr restores the X11 one.
void set_cursor_image_source(CursorImageSource* source);

// Pixel maps and pointer blocks made and not yet freed.
std::size_t live_pixmap_count();
std::size_t live_pointer_count();

}  // namespace platform
