// The current cursor's image from XFixes, laid out as the monitor reads it.
#include "platform/linux/cursor_x11.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/trigger/cursor_window.h"
#include "tests/trigger/xvfb.h"

namespace {

std::vector<std::uint8_t> bytes_of(const platform::CursorImage& image, int row, int column) {
  std::size_t at = static_cast<std::size_t>(row) * (image.rowBytes & 0x3FFF) + 4 * column;
  return {image.pixels.begin() + at, image.pixels.begin() + at + 4};
}

}  // namespace

TEST(CursorPixels, StoresBigEndianArgbAndIgnoresTheSignFill) {
  // As XFixes hands them over on a 64-bit system: an alpha of 0x80 or more
  // fills the upper half of the unsigned long with ones.
  const unsigned long pixels[6] = {
      0xFFFFFFFF80402010ul, 0x00000000000000FFul, 0xFFFFFFFFFF0000FFul,
      0x000000007F102030ul, 0xFFFFFFFFFFFFFFFFul, 0x0000000000000000ul,
  };
  platform::CursorImage image;
  platform::store_argb_pixels(pixels, 3, 2, &image);
  EXPECT_EQ(image.bounds.top, 0);
  EXPECT_EQ(image.bounds.left, 0);
  EXPECT_EQ(image.bounds.bottom, 2);
  EXPECT_EQ(image.bounds.right, 3);
  EXPECT_EQ(image.rowBytes, 0x8000 | 12);
  EXPECT_EQ(image.pixelSize, 32);
  EXPECT_EQ(image.pixels,
            (std::vector<std::uint8_t>{
                0x80, 0x40, 0x20, 0x10, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF,
                0x7F, 0x10, 0x20, 0x30, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00,
            }));
}

TEST(CursorPixels, KeepsTheRowLengthWithinItsField) {
  std::vector<unsigned long> wide(5000, 0xFF000000ul);
  platform::CursorImage image;
  platform::store_argb_pixels(wide.data(), 5000, 1, &image);
  EXPECT_EQ(image.bounds.right, platform::kMaxCursorWidth);
  EXPECT_EQ(image.rowBytes & 0x3FFF, platform::kMaxCursorWidth * 4);
  EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(platform::kMaxCursorWidth) * 4);

  platform::store_argb_pixels(nullptr, 0, 0, &image);
  EXPECT_EQ(image.rowBytes, 0x8000);
  EXPECT_TRUE(image.pixels.empty());
}

TEST(X11CursorSource, GivesNothingWithoutADisplay) {
  unsetenv("DISPLAY");
  platform::X11CursorSource source;
  platform::CursorImage image;
  image.pixelSize = 7;
  EXPECT_FALSE(source.copy_current(&image));
  EXPECT_EQ(image.pixelSize, 7);
}

TEST(X11CursorSource, CopiesTheCursorAWindowShows) {
  if (!trigger_test::shared_xvfb_display() || !trigger_test::have_program("xdotool"))
    GTEST_SKIP() << "needs Xvfb and xdotool";
  trigger_test::CursorWindow window;
  trigger_test::ArgbCursor cursor = trigger_test::graded_cursor();
  ASSERT_TRUE(window.show(cursor, 100, 100, 100));
  ASSERT_TRUE(trigger_test::xdotool("mousemove 150 150"));

  platform::CursorImage image;
  ASSERT_TRUE(platform::x11_cursor_source().copy_current(&image));
  EXPECT_EQ(image.bounds.bottom, 16);
  EXPECT_EQ(image.bounds.right, 16);
  EXPECT_EQ(image.rowBytes, 0x8000 | 64);
  EXPECT_EQ(image.pixelSize, 32);
  EXPECT_EQ(image.hotSpot.h, 3);
  EXPECT_EQ(image.hotSpot.v, 5);
  ASSERT_EQ(image.pixels.size(), 1024u);
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < 16; ++column) {
      std::uint32_t argb = cursor.pixels[16 * row + column];
      std::vector<std::uint8_t> expected{
          static_cast<std::uint8_t>(argb >> 24), static_cast<std::uint8_t>(argb >> 16),
          static_cast<std::uint8_t>(argb >> 8), static_cast<std::uint8_t>(argb)};
      EXPECT_EQ(bytes_of(image, row, column), expected) << "row " << row << " column " << column;
    }
  }
}

TEST(X11CursorSource, FollowsThePointerOffTheWindow) {
  if (!trigger_test::shared_xvfb_display() || !trigger_test::have_program("xdotool"))
    GTEST_SKIP() << "needs Xvfb and xdotool";
  trigger_test::CursorWindow window;
  trigger_test::ArgbCursor big{32, 32, 0, 0, std::vector<std::uint32_t>(32 * 32, 0xFF000000u)};
  ASSERT_TRUE(window.show(big, 100, 100, 100));
  ASSERT_TRUE(trigger_test::xdotool("mousemove 150 150"));
  platform::CursorImage image;
  ASSERT_TRUE(platform::x11_cursor_source().copy_current(&image));
  EXPECT_EQ(image.bounds.right, 32);
  EXPECT_EQ(image.rowBytes & 0x3FFF, 128);
  EXPECT_EQ(image.pixels.size(), 32u * 128u);

  ASSERT_TRUE(trigger_test::xdotool("mousemove 20 20"));
  ASSERT_TRUE(platform::x11_cursor_source().copy_current(&image));
  EXPECT_NE(image.bounds.right, 32);  // the root window's cursor
}
