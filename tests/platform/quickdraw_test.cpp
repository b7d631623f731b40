// The cursor image as a pixel map.
#include <gtest/gtest.h>

#include "platform/quickdraw.h"

namespace {

using InstalledSource = platform::ScopedBacking<platform::CursorImageSource>;

class FixedCursor final : public platform::CursorImageSource {
 public:
  explicit FixedCursor(platform::CursorImage image) : m_image(std::move(image)) {}
  bool current_cursor_image(platform::CursorImage& image) override {
    image = m_image;
    return true;
  }

 private:
  platform::CursorImage m_image;
};

TEST(CursorData, PixelsAreBigEndianArgbInFlaggedRows) {
  platform::CursorImage image;
  image.width = 3;
  image.height = 2;
  image.hot_spot = {1, 2};
  image.argb = {0x80112233, 0xFF000000, 0, 1, 2, 0x7F000003};
  FixedCursor source(image);
  InstalledSource installed(&source);
  PixMapHandle map = nullptr;
  Point hot{};
  ASSERT_EQ(QDGetCursorData(false, &map, &hot), noErr);
  EXPECT_EQ(hot.v, 1);
  EXPECT_EQ(hot.h, 2);
  EXPECT_EQ(static_cast<UInt16>((*map)->rowBytes), 0x8000 | 12);
  EXPECT_EQ((*map)->bounds.bottom, 2);
  EXPECT_EQ((*map)->bounds.right, 3);
  EXPECT_EQ((*map)->pixelSize, 32);
  ASSERT_TRUE(LockPixels(map));
  auto* bytes = reinterpret_cast<const unsigned char*>((*map)->baseAddr);
  EXPECT_EQ(bytes[0], 0x80);
  EXPECT_EQ(bytes[1], 0x11);
  EXPECT_EQ(bytes[3], 0x33);
  EXPECT_EQ(bytes[4], 0xFF);
  EXPECT_EQ(bytes[12 + 8], 0x7F);
  EXPECT_EQ(bytes[12 + 11], 0x03);
  UnlockPixels(map);
  EXPECT_EQ(platform::live_pixmap_count(), 1u);
  DisposePixMap(map);
  EXPECT_EQ(platform::live_pixmap_count(), 0u);
  EXPECT_EQ(QDGetCursorData(true, &map, &hot), paramErr);
}

TEST(CursorData, NoSourceOrNoImageGivesNoPixelMap) {
  PixMapHandle map = nullptr;
  if (platform::default_cursor_image_source() == nullptr) {
    InstalledSource none(nullptr);
    EXPECT_EQ(QDGetCursorData(false, &map, nullptr), kQDNoCursorImageErr);
  }
  platform::CursorImage wrong;
  wrong.width = 2;
  wrong.height = 2;
  wrong.argb = {1, 2, 3};  // fewer pixels than the size says
  FixedCursor source(wrong);
  {
    InstalledSource installed(&source);
    EXPECT_EQ(QDGetCursorData(false, &map, nullptr), kQDNoCursorImageErr);
  }
  FixedCursor empty{platform::CursorImage{}};
  InstalledSource installed(&empty);
  ASSERT_EQ(QDGetCursorData(false, &map, nullptr), noErr);
  EXPECT_FALSE(LockPixels(map));
  DisposePixMap(map);
  EXPECT_EQ(platform::live_pixmap_count(), 0u);
}

}  // namespace
