#include "platform/quickdraw_standin.h"

#include <algorithm>
#include <map>
#include <memory>

namespace platform {
namespace {

// A pixel map with the master pointer its handle points at.
struct PixMapBlock {
  PixMap map{};
  PixMap* master = &map;
  bool lockable = true;
  bool locked = false;
};

class X11Source final : public CursorImageSource {
 public:
  bool copy_current(CursorImage* image) override { return x11_cursor_source().copy_current(image); }
};

X11Source s_x11_source;
CursorImageSource* s_source = nullptr;

std::map<PixMapHandle, std::unique_ptr<PixMapBlock>>& pixmaps() {
  static std::map<PixMapHandle, std::unique_ptr<PixMapBlock>> table;
  return table;
}

std::map<Ptr, std::unique_ptr<char[]>>& pointers() {
  static std::map<Ptr, std::unique_ptr<char[]>> table;
  return table;
}

PixMapBlock* block_of(PixMapHandle pm) {
  auto it = pixmaps().find(pm);
  return it == pixmaps().end() ? nullptr : it->second.get();
}

PixMap pixmap_of(const CursorImage& image) {
  PixMap map{};
  const std::size_t size = image.pixels.size();
  map.baseAddr = NewPtr(static_cast<Size>(size));
  if (map.baseAddr) std::copy(image.pixels.begin(), image.pixels.end(), map.baseAddr);
  map.rowBytes = static_cast<SInt16>(image.rowBytes);
  map.bounds = {image.bounds.top, image.bounds.left, image.bounds.bottom, image.bounds.right};
  map.pixelType = 16;
  map.pixelSize = image.pixelSize;
  map.cmpCount = 3;
  map.cmpSize = 8;
  map.pixelFormat = k32ARGBPixelFormat;
  return map;
}

}  // namespace

void set_cursor_image_source(CursorImageSource* source) {
  s_source = source;
}

std::size_t live_pixmap_count() {
  return pixmaps().size();
}

std::size_t live_pointer_count() {
  return pointers().size();
}

}  // namespace platform

OSStatus QDGetCursorData(Boolean /*contextCursor*/, PixMapHandle* crsrData, Point* hotSpot) {
  if (crsrData == nullptr) return paramErr;
  platform::CursorImageSource& source =
      platform::s_source ? *platform::s_source : platform::s_x11_source;
  platform::CursorImage image;
  if (!source.copy_current(&image)) return paramErr;
  auto block = std::make_unique<platform::PixMapBlock>();
  block->map = platform::pixmap_of(image);
  block->lockable = source.pixels_lockable();
  PixMapHandle handle = &block->master;
  platform::pixmaps().emplace(handle, std::move(block));
  *crsrData = handle;
  if (hotSpot) *hotSpot = image.hotSpot;
  return noErr;
}

Boolean LockPixels(PixMapHandle pm) {
  platform::PixMapBlock* block = platform::block_of(pm);
  if (block == nullptr || !block->lockable) return false;
  block->locked = true;
  return true;
}

void UnlockPixels(PixMapHandle pm) {
  if (platform::PixMapBlock* block = platform::block_of(pm)) block->locked = false;
}

void DisposePixMap(PixMapHandle pm) {
  platform::pixmaps().erase(pm);
}

Ptr NewPtr(Size byteCount) {
  if (byteCount <= 0) return nullptr;
  auto block = std::make_unique<char[]>(static_cast<std::size_t>(byteCount));
  Ptr p = block.get();
  platform::pointers().emplace(p, std::move(block));
  return p;
}

void DisposePtr(Ptr p) {
  platform::pointers().erase(p);
}
