#include "platform/quickdraw.h"

#include <memory>
#include <unordered_map>
#include <utility>

namespace platform {
namespace {

// A pixel map with its master pointer and its pixels; the handle is the
// address of the master pointer.
struct PixMapBlock {
  PixMap map{};
  PixMap* master = nullptr;
  std::vector<std::uint8_t> pixels;
  bool lockable = true;
};

std::unordered_map<PixMapHandle, std::unique_ptr<PixMapBlock>>& pixmaps() {
  static std::unordered_map<PixMapHandle, std::unique_ptr<PixMapBlock>> table;
  return table;
}

CursorImageSource* s_source = nullptr;

CursorImageSource* source() {
  return s_source ? s_source : default_cursor_image_source();
}

// The widest row rowBytes can describe, in 4-byte pixels.
constexpr int kWidestRow = kRowBytesMask / 4;

bool describable(const CursorImage& image) {
  if (image.width < 0 || image.height < 0 || image.width > kWidestRow || image.height > 0x7FFF)
    return false;
  return image.argb.size() == static_cast<std::size_t>(image.width) * image.height;
}

PixMapHandle make_pixmap(const CursorImage& image, CursorImageSource& source) {
  auto block = std::make_unique<PixMapBlock>();
  block->pixels.reserve(image.argb.size() * 4);
  for (std::uint32_t pixel : image.argb) {
    for (int shift = 24; shift >= 0; shift -= 8)
      block->pixels.push_back(static_cast<std::uint8_t>(pixel >> shift));
  }
  PixMap& map = block->map;
  map.baseAddr = block->pixels.empty() ? nullptr : reinterpret_cast<Ptr>(block->pixels.data());
  map.rowBytes = static_cast<SInt16>(kPixMapFlag | (image.width * 4));
  map.bounds = {0, 0, static_cast<SInt16>(image.height), static_cast<SInt16>(image.width)};
  map.pixelSize = 32;
  map.cmpCount = 4;
  map.cmpSize = 8;
  block->master = &block->map;
  block->lockable = source.adjust_pixmap(map);
  PixMapHandle handle = &block->master;
  pixmaps().emplace(handle, std::move(block));
  return handle;
}

bool pixels_lockable(PixMapHandle pm) {
  auto it = pixmaps().find(pm);
  return it == pixmaps().end() || it->second->lockable;
}

}  // namespace

CursorImageSource* install_backing(CursorImageSource* backing) {
  return std::exchange(s_source, backing);
}

std::size_t live_pixmap_count() {
  return pixmaps().size();
}

}  // namespace platform

OSStatus QDGetCursorData(Boolean contextCursor, PixMapHandle* crsrData, Point* hotSpot) {
  if (!crsrData || contextCursor) return paramErr;
  platform::CursorImageSource* source = platform::source();
  platform::CursorImage image;
  if (!source || !source->current_cursor_image(image) || !platform::describable(image))
    return kQDNoCursorImageErr;
  *crsrData = platform::make_pixmap(image, *source);
  if (hotSpot) *hotSpot = image.hot_spot;
  return noErr;
}

Boolean LockPixels(PixMapHandle pm) {
  return pm && *pm && (*pm)->baseAddr != nullptr && platform::pixels_lockable(pm);
}

void UnlockPixels(PixMapHandle) {}

void DisposePixMap(PixMapHandle pm) {
  if (pm) platform::pixmaps().erase(pm);
}
