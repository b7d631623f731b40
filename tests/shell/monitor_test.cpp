// The mouse-down handler on made-up cursor images: which double-clicks
// nudge the button "Trigger", and how.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>

#include "shell/cursors.h"
#include "shell/monitor.h"
#include "shell/records.h"
#include "tests/support/trigger_support.h"

using testing_support::cursor_image;
using testing_support::zero_image;

namespace {

const char kWiden[] =
    "tell window \"Main\"\nset a to bounds of button \"Trigger\"\n"
    "set item 3 of a to (item 3 of a) + 1\nset bounds of button \"Trigger\" to a\nend tell";
const char kNarrow[] =
    "tell window \"Main\"\nset a to bounds of button \"Trigger\"\n"
    "set item 3 of a to (item 3 of a) - 1\nset bounds of button \"Trigger\" to a\nend tell";

// First bytes 0, 1, …, 255: every value a signed byte can take.
std::vector<std::uint8_t> all_bytes() {
  std::vector<std::uint8_t> bytes(256);
  std::iota(bytes.begin(), bytes.end(), 0);
  return bytes;
}

// What the stored image of all_bytes() holds.
void store_all_bytes(SInt32* stored) {
  for (int i = 0; i < 256; ++i) stored[i] = static_cast<SInt8>(i);
}

class MouseDown : public ::testing::Test {
 protected:
  void SetUp() override {
    for (SInt32* stored : {G_CURSOR_Crsr1, G_CURSOR_Crsr2, G_CURSOR_Crsr1PC, G_CURSOR_Crsr2PC})
      std::fill_n(stored, 256, 0x11);
    G_TRIGGERBUTTONWASEXPANDED = false;
  }

  void TearDown() override {
    EXPECT_EQ(G_crsrData, nullptr);
    EXPECT_EQ(platform::live_pixmap_count(), 0u);
  }

  OSStatus click(UInt32 count) {
    OpaqueEventRef event{kEventClassMouse, kEventMouseDown, count, 1};
    return MouseDownHandler(nullptr, &event, nullptr);
  }

  // Whether a double-click with the current made-up cursor nudges.
  bool counts() {
    std::size_t before = runs.scripts.size();
    click(2);
    return runs.scripts.size() > before;
  }

  testing_support::RecordingScripts runs;
  testing_support::MadeUpCursor cursor;
};

}  // namespace

TEST_F(MouseDown, ExaminesDoubleClicksOnly) {
  cursor.image = zero_image(16, 16);
  std::fill_n(G_CURSOR_Crsr1, 256, 0);
  EXPECT_EQ(click(1), noErr);
  EXPECT_EQ(click(3), noErr);
  EXPECT_EQ(click(0), noErr);
  OpaqueEventRef key{FOUR_CHAR_CODE("keyb"), 1, 2, 0};
  EXPECT_EQ(MouseDownHandler(nullptr, &key, nullptr), eventParameterNotFoundErr);
  EXPECT_EQ(cursor.copies, 0);
  EXPECT_TRUE(runs.scripts.empty());
  EXPECT_FALSE(G_TRIGGERBUTTONWASEXPANDED);
}

TEST_F(MouseDown, WidensThenNarrowsTheTriggerButton) {
  cursor.image = cursor_image(all_bytes());
  store_all_bytes(G_CURSOR_Crsr1);
  EXPECT_EQ(click(2), noErr);
  EXPECT_TRUE(G_TRIGGERBUTTONWASEXPANDED);
  EXPECT_EQ(click(2), noErr);
  EXPECT_FALSE(G_TRIGGERBUTTONWASEXPANDED);
  EXPECT_EQ(click(2), noErr);
  ASSERT_EQ(runs.scripts.size(), 3u);
  EXPECT_EQ(runs.scripts[0].text, kWiden);
  EXPECT_EQ(runs.scripts[0].text.size(), 136u);
  EXPECT_EQ(runs.scripts[1].text, kNarrow);
  EXPECT_EQ(runs.scripts[1].text.size(), 136u);
  EXPECT_EQ(runs.scripts[2].text, kWiden);
  // The flag has changed by the time each script runs.
  EXPECT_TRUE(runs.scripts[0].flag_when_run);
  EXPECT_FALSE(runs.scripts[1].flag_when_run);
  EXPECT_EQ(cursor.copies, 3);
}

TEST_F(MouseDown, AnyOfTheFourStoredImagesMatches) {
  cursor.image = cursor_image(all_bytes());
  for (SInt32* stored : {G_CURSOR_Crsr1, G_CURSOR_Crsr2, G_CURSOR_Crsr1PC, G_CURSOR_Crsr2PC}) {
    store_all_bytes(stored);
    EXPECT_TRUE(counts());
    std::fill_n(stored, 256, 0x11);
  }
  EXPECT_FALSE(counts());
}

TEST_F(MouseDown, ComparesTheFirstByteOfEachPixelAsASignedByte) {
  store_all_bytes(G_CURSOR_Crsr2);
  // The other three bytes of each pixel play no part.
  cursor.image = cursor_image(all_bytes(), 0x00);
  EXPECT_TRUE(counts());
  cursor.image = cursor_image(all_bytes(), 0xC3);
  EXPECT_TRUE(counts());
  // One first byte off, in the last pixel, and nothing matches.
  std::vector<std::uint8_t> last_off = all_bytes();
  last_off[255] = 0x7F;
  cursor.image = cursor_image(last_off);
  EXPECT_FALSE(counts());

  // 0xFF is -1, never 255; 0x80 is -128.
  cursor.image = cursor_image(std::vector<std::uint8_t>(256, 0xFF));
  std::fill_n(G_CURSOR_Crsr1PC, 256, 255);
  EXPECT_FALSE(counts());
  std::fill_n(G_CURSOR_Crsr1PC, 256, -1);
  EXPECT_TRUE(counts());
  cursor.image = cursor_image(std::vector<std::uint8_t>(256, 0x80));
  std::fill_n(G_CURSOR_Crsr1PC, 256, -128);
  EXPECT_TRUE(counts());
}

TEST_F(MouseDown, ImagesNeverLoadedMatchAnAllZeroCursor) {
  for (SInt32* stored : {G_CURSOR_Crsr1, G_CURSOR_Crsr2, G_CURSOR_Crsr1PC, G_CURSOR_Crsr2PC})
    std::fill_n(stored, 256, 0);
  cursor.image = cursor_image(std::vector<std::uint8_t>(256, 0x00), 0xEE);
  EXPECT_TRUE(counts());
  cursor.image = cursor_image(all_bytes());
  EXPECT_FALSE(counts());
}

TEST_F(MouseDown, OtherSizesAndDepthsNeverCount) {
  std::fill_n(G_CURSOR_Crsr1, 256, 0);  // agrees with every zero first byte
  cursor.image = zero_image(32, 32);
  EXPECT_FALSE(counts());
  cursor.image = zero_image(16, 32);
  EXPECT_FALSE(counts());
  cursor.image = zero_image(32, 16);
  EXPECT_FALSE(counts());
  // 8 bits to a pixel in 16-byte rows, as an indexed cursor would come.
  cursor.image = zero_image(16, 16);
  cursor.adjust = [](PixMap& map) {
    map.pixelSize = 8;
    map.rowBytes = static_cast<SInt16>(0x8000 | 16);
  };
  EXPECT_FALSE(counts());
  cursor.adjust = [](PixMap& map) { map.pixelSize = 16; };
  EXPECT_FALSE(counts());
  // Both flag bits are masked off the row length.
  cursor.adjust = [](PixMap& map) { map.rowBytes = static_cast<SInt16>(0xC000 | 64); };
  EXPECT_TRUE(counts());
  cursor.adjust = nullptr;
  EXPECT_TRUE(counts());
}

TEST_F(MouseDown, ACursorThatCannotBeReadCounts) {
  cursor.image.reset();  // no image at all
  EXPECT_TRUE(counts());
  cursor.image = cursor_image(all_bytes());
  cursor.lockable = false;
  EXPECT_TRUE(counts());
  cursor.lockable = true;
  // An image without pixel data cannot be locked here; it counts all the same.
  cursor.adjust = [](PixMap& map) { map.baseAddr = nullptr; };
  EXPECT_TRUE(counts());
  cursor.adjust = nullptr;
  cursor.image = zero_image(0, 0);
  EXPECT_TRUE(counts());
  cursor.image = cursor_image(all_bytes());
  EXPECT_FALSE(counts());
}

TEST_F(MouseDown, ReturnsTheRunnersStatusWithTheFlagChanged) {
  cursor.image.reset();
  runs.run_status = errAENoSuchObject;
  EXPECT_EQ(click(2), errAENoSuchObject);
  EXPECT_TRUE(G_TRIGGERBUTTONWASEXPANDED);
  EXPECT_EQ(click(2), errAENoSuchObject);
  EXPECT_FALSE(G_TRIGGERBUTTONWASEXPANDED);
}

TEST(MouseDownWithoutScripting, ReturnsTheRunnersStatus) {
  testing_support::MadeUpCursor cursor;  // no image: the click counts
  G_TRIGGERBUTTONWASEXPANDED = false;
  OpaqueEventRef event{kEventClassMouse, kEventMouseDown, 2, 1};
  EXPECT_EQ(MouseDownHandler(nullptr, &event, nullptr), paramErr);
  EXPECT_TRUE(G_TRIGGERBUTTONWASEXPANDED);
}

TEST(MonitorInstall, SaysOnceThatItCannotWatchWithoutADisplay) {
  unsetenv("DISPLAY");
  testing::internal::CaptureStderr();
  MyInstallEventHandler();
  MyInstallEventHandler();
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said,
            "tavrine: double-clicks in other programs are not watched (no X11 display: DISPLAY is "
            "not set)\n");
  EXPECT_EQ(platform::event_monitor_descriptor(), -1);
}
