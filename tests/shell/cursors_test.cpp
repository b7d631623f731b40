// The cursor images: loading them from the plug-in's bundle and capturing the
// current cursor into CursorData.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/quickdraw.h"
#include "prefs/prefs.h"
#include "shell/cursors.h"
#include "tests/support/file_sandbox.h"

namespace {

using std::filesystem::path;

SInt32* const kBuffers[] = {G_CURSOR_Crsr1, G_CURSOR_Crsr2, G_CURSOR_Crsr1PC, G_CURSOR_Crsr2PC};
const char* const kNames[] = {"Crsr1", "Crsr2", "Crsr1PC", "Crsr2PC"};

std::string ImageBytes(int seed, std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 13 + seed) & 0xFF);
  return bytes;
}

std::string BufferBytes(const SInt32* buffer) {
  std::string bytes;
  for (int i = 0; i < kCursorPixels; ++i) {
    auto value = static_cast<std::uint32_t>(buffer[i]);
    for (int b = 0; b < 4; ++b) bytes += static_cast<char>((value >> (8 * b)) & 0xFF);
  }
  return bytes;
}

class FixedCursor final : public platform::CursorImageSource {
 public:
  bool current_cursor_image(platform::CursorImage& out) override {
    if (!has_image) return false;
    out = image;
    return true;
  }
  bool has_image = true;
  platform::CursorImage image;
};

class Cursors : public ::testing::Test {
 protected:
  testing_support::Folder box;
  testing_support::RecordingAlerts alerts;
  path resources = box.root() / "data" / "tavrine" / "PlugIns" / "LayoutCursors.bundle" /
                   "Contents" / "Resources";
  FixedCursor cursor;
  platform::ScopedBacking<platform::CursorImageSource> installed{&cursor};

  void SetUp() override {
    for (SInt32* buffer : kBuffers) std::memset(buffer, 0, kCursorDataBytes);
  }
  void TearDown() override {
    EXPECT_EQ(platform::live_pixmap_count(), 0u);
    EXPECT_EQ(platform::open_file_count(), 0u);
  }
  void install_plugin() {
    testing_support::write_file(
        resources.parent_path() / "Info.plist",
        std::string("<plist><dict><key>CFBundleIdentifier</key>\n<string>") +
            kCursorPlugInBundleID + "</string></dict></plist>");
  }
  // A 16 × 16 image whose pixel (i, j) has the first byte i * 16 + j.
  void set_counting_image(int width = 16, int height = 16) {
    cursor.image.width = width;
    cursor.image.height = height;
    cursor.image.argb.clear();
    for (int i = 0; i < height; ++i)
      for (int j = 0; j < width; ++j)
        cursor.image.argb.push_back(static_cast<std::uint32_t>((i * 16 + j) & 0xFF) << 24 |
                                    0x123456);
  }
  path capture() const { return box.config() / "VeskaSoftware" / "CursorData"; }
};

TEST_F(Cursors, WithoutThePlugInNothingLoads) {
  for (SInt16 selector = 0; selector < 4; ++selector) EXPECT_FALSE(LoadCursorData(selector));
  for (SInt32* buffer : kBuffers) EXPECT_EQ(BufferBytes(buffer), std::string(1024, '\0'));
}

TEST_F(Cursors, ImagesLoadFromThePlugInsResources) {
  install_plugin();
  testing_support::write_file(resources / "Crsr1", ImageBytes(1, 1024));
  testing_support::write_file(resources / "Crsr2", ImageBytes(2, 1100));
  EXPECT_TRUE(LoadCursorData(0));
  EXPECT_EQ(BufferBytes(G_CURSOR_Crsr1), ImageBytes(1, 1024));
  EXPECT_TRUE(LoadCursorData(1)) << "a longer file gives its first 1024 bytes";
  EXPECT_EQ(BufferBytes(G_CURSOR_Crsr2), ImageBytes(2, 1024));
  EXPECT_FALSE(LoadCursorData(2)) << "no Crsr1PC in the bundle";
  EXPECT_FALSE(LoadCursorData(4));
  EXPECT_FALSE(LoadCursorData(-1));
  EXPECT_EQ(G_CURSOR_Crsr1[0], 0x281B0E01) << "bytes 01 0E 1B 28, little-endian";
}

TEST_F(Cursors, AShortImageFillsTheFrontOfTheBuffer) {
  install_plugin();
  std::memset(G_CURSOR_Crsr1PC, 0x77, kCursorDataBytes);
  testing_support::write_file(resources / "Crsr1PC", ImageBytes(3, 1000));
  EXPECT_FALSE(LoadCursorData(2));
  std::string bytes = BufferBytes(G_CURSOR_Crsr1PC);
  EXPECT_EQ(bytes.substr(0, 1000), ImageBytes(3, 1000));
  EXPECT_EQ(bytes.substr(1000), std::string(24, '\x77'));
  testing_support::write_file(resources / "Crsr1PC", ImageBytes(4, 1001));  // one byte into a value
  EXPECT_FALSE(LoadCursorData(2));
  bytes = BufferBytes(G_CURSOR_Crsr1PC);
  EXPECT_EQ(bytes.substr(0, 1001), ImageBytes(4, 1001));
  EXPECT_EQ(bytes.substr(1001), std::string(23, '\x77'));
}

TEST_F(Cursors, GetPreferencesLoadsAllFour) {
  install_plugin();
  for (int i = 0; i < 4; ++i)
    testing_support::write_file(resources / kNames[i], ImageBytes(10 + i, 1024));
  GetPreferences();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(BufferBytes(kBuffers[i]), ImageBytes(10 + i, 1024)) << i;
}

TEST_F(Cursors, CaptureStoresTheFirstByteOfEachPixelSigned) {
  set_counting_image(24, 20);  // larger than 16 × 16: only its top left counts
  SaveCursorData();
  ASSERT_TRUE(alerts.messages.empty());
  std::string bytes = testing_support::read_file(capture());
  ASSERT_EQ(bytes.size(), 1024u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x00\x00\x00\x00\x01\x00\x00\x00", 8));
  EXPECT_EQ(bytes.substr(4 * 0x80, 4), std::string("\x80\xFF\xFF\xFF", 4)) << "0x80 is -128";
  EXPECT_EQ(bytes.substr(4 * 255, 4), std::string("\xFF\xFF\xFF\xFF", 4)) << "0xFF is -1";
  EXPECT_EQ(bytes.substr(4 * 0x7F, 4), std::string("\x7F\x00\x00\x00", 4));

  // The stored image loads back as the comparison expects it.
  install_plugin();
  testing_support::write_file(resources / "Crsr2PC", bytes);
  ASSERT_TRUE(LoadCursorData(3));
  EXPECT_EQ(G_CURSOR_Crsr2PC[0x80], -128);
  EXPECT_EQ(G_CURSOR_Crsr2PC[0x11], 0x11);
}

TEST_F(Cursors, CapturingTwiceOverwritesTheFile) {
  set_counting_image();
  SaveCursorData();
  for (auto& pixel : cursor.image.argb) pixel = 0xFE000000;
  testing_support::write_file(capture(), std::string(5000, 'x'));  // a longer file from elsewhere
  SaveCursorData();
  std::string bytes = testing_support::read_file(capture());
  ASSERT_EQ(bytes.size(), 1024u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\xFE\xFF\xFF\xFF", 4));
  EXPECT_TRUE(alerts.messages.empty());
}

TEST_F(Cursors, ASmallImageIsNeverReadPast) {
  set_counting_image(8, 4);
  SaveCursorData();
  std::string bytes = testing_support::read_file(capture());
  ASSERT_EQ(bytes.size(), 1024u);
  EXPECT_EQ(bytes.substr(4 * 7, 4), std::string("\x07\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(4 * 8, 4), std::string(4, '\0')) << "past the row: 0";
  EXPECT_EQ(bytes.substr(4 * (16 * 3 + 1), 4), std::string("\x31\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(4 * 16 * 4), std::string(4 * 16 * 12, '\0')) << "past the last row: 0";
}

TEST_F(Cursors, NoImageShowsTheAlertAndWritesNothing) {
  cursor.has_image = false;
  SaveCursorData();
  cursor.has_image = true;
  cursor.image = platform::CursorImage{};  // no pixels to lock
  SaveCursorData();
  ASSERT_EQ(alerts.messages.size(), 2u);
  EXPECT_EQ(alerts.messages[0], "*******");
  EXPECT_EQ(alerts.types[0], kAlertNoteAlert);
  EXPECT_EQ(alerts.explanations[0], "");
  EXPECT_FALSE(testing_support::fs::exists(capture()));
}

TEST_F(Cursors, AnUnwritableFolderShowsTheAlert) {
  set_counting_image();
  testing_support::write_file(box.config() / "VeskaSoftware", "a file where the folder belongs");
  SaveCursorData();
  ASSERT_EQ(alerts.messages.size(), 1u);
  EXPECT_EQ(alerts.messages[0], "*******");
}

}  // namespace
