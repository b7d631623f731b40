// The current cursor's image from XFixes, and the pixel map QDGetCursorData
// makes of it: laid out as the monitor and the capture read it.
#include "platform/linux/cursor_x11.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/cursor_window.h"
#include "tests/support/xvfb.h"

namespace {

// The 4 bytes of pixel (row, column) in a locked pixel map.
std::vector<std::uint8_t> bytes_of(PixMapHandle map, int row, int column) {
  const auto* base = reinterpret_cast<const std::uint8_t*>((*map)->baseAddr);
  const std::size_t at = static_cast<std::size_t>(row) * ((*map)->rowBytes & kRowBytesMask) +
                         4 * static_cast<std::size_t>(column);
  return {base + at, base + at + 4};
}

}  // namespace

TEST(CursorPixels, KeepsTheLow32BitsAndDropsTheSignFill) {
  // As XFixes hands them over on a 64-bit system: an alpha of 0x80 or more
  // fills the upper half of the unsigned long with ones.
  const unsigned long pixels[6] = {
      0xFFFFFFFF80402010ul, 0x00000000000000FFul, 0xFFFFFFFFFF0000FFul,
      0x000000007F102030ul, 0xFFFFFFFFFFFFFFFFul, 0x0000000000000000ul,
  };
  platform::CursorImage image;
  platform::store_xfixes_pixels(pixels, 3, 2, image);
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.argb, (std::vector<std::uint32_t>{0x80402010u, 0x000000FFu, 0xFF0000FFu,
                                                    0x7F102030u, 0xFFFFFFFFu, 0u}));

  platform::store_xfixes_pixels(nullptr, -4, 7, image);
  EXPECT_EQ(image.width, 0);
  EXPECT_TRUE(image.argb.empty());
}

TEST(X11CursorSource, GivesNothingWithoutADisplay) {
  const char* display = std::getenv("DISPLAY");
  const bool had_display = display != nullptr;
  const std::string saved = had_display ? display : "";
  unsetenv("DISPLAY");
  platform::X11CursorSource source;
  platform::CursorImage image;
  image.width = 7;
  EXPECT_FALSE(source.current_cursor_image(image));
  EXPECT_EQ(image.width, 7);
  {
    platform::ScopedBacking<platform::CursorImageSource> installed(&source);
    PixMapHandle map = nullptr;
    EXPECT_EQ(QDGetCursorData(false, &map, nullptr), kQDNoCursorImageErr);
    EXPECT_EQ(map, nullptr);
  }
  if (had_display) setenv("DISPLAY", saved.c_str(), 1);
}

TEST(X11CursorSource, IsThePlatformsOwn) {
  EXPECT_NE(dynamic_cast<platform::X11CursorSource*>(platform::default_cursor_image_source()),
            nullptr);
}

TEST(X11CursorSource, CopiesTheCursorAWindowShows) {
  if (!testing_support::shared_xvfb_display() || !testing_support::have_program("xdotool"))
    GTEST_SKIP() << "needs Xvfb and xdotool";
  testing_support::CursorWindow window;
  testing_support::ArgbCursor cursor = testing_support::graded_cursor();
  ASSERT_TRUE(window.show(cursor, 100, 100, 100));
  ASSERT_TRUE(testing_support::xdotool("mousemove 150 150"));

  PixMapHandle map = nullptr;
  Point hot{};
  ASSERT_EQ(QDGetCursorData(false, &map, &hot), noErr);
  EXPECT_EQ((*map)->bounds.bottom, 16);
  EXPECT_EQ((*map)->bounds.right, 16);
  EXPECT_EQ(static_cast<UInt16>((*map)->rowBytes), 0x8000 | 64);
  EXPECT_EQ((*map)->pixelSize, 32);
  EXPECT_EQ(hot.h, 3);
  EXPECT_EQ(hot.v, 5);
  ASSERT_TRUE(LockPixels(map));
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < 16; ++column) {
      std::uint32_t argb = cursor.pixels[16 * row + column];
      std::vector<std::uint8_t> expected{
          static_cast<std::uint8_t>(argb >> 24), static_cast<std::uint8_t>(argb >> 16),
          static_cast<std::uint8_t>(argb >> 8), static_cast<std::uint8_t>(argb)};
      EXPECT_EQ(bytes_of(map, row, column), expected) << "row " << row << " column " << column;
    }
  }
  UnlockPixels(map);
  DisposePixMap(map);
  EXPECT_EQ(platform::live_pixmap_count(), 0u);
}

TEST(X11CursorSource, FollowsThePointerOffTheWindow) {
  if (!testing_support::shared_xvfb_display() || !testing_support::have_program("xdotool"))
    GTEST_SKIP() << "needs Xvfb and xdotool";
  testing_support::CursorWindow window;
  testing_support::ArgbCursor big{32, 32, 0, 0, std::vector<std::uint32_t>(32 * 32, 0xFF000000u)};
  ASSERT_TRUE(window.show(big, 100, 100, 100));
  ASSERT_TRUE(testing_support::xdotool("mousemove 150 150"));
  platform::CursorImage image;
  platform::CursorImageSource* source = platform::default_cursor_image_source();
  ASSERT_TRUE(source->current_cursor_image(image));
  EXPECT_EQ(image.width, 32);
  EXPECT_EQ(image.argb.size(), 32u * 32u);

  ASSERT_TRUE(testing_support::xdotool("mousemove 20 20"));
  ASSERT_TRUE(source->current_cursor_image(image));
  EXPECT_NE(image.width, 32);  // the root window's cursor
}
