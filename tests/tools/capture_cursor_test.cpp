// A cursor captured from the X server, stored in the layout program's bundle
// and loaded back, is recognised by the mouse-down monitor: what a user does
// to teach the program their layout program's cursors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/alerts.h"
#include "platform/quickdraw.h"
#include "shell/cursors.h"
#include "shell/monitor.h"
#include "shell/records.h"
#include "tests/support/cursor_window.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/trigger_support.h"
#include "tests/support/xvfb.h"

namespace {

namespace fs = std::filesystem;

class NoAlerts final : public platform::AlertBacking {
 public:
  void beep() override {}
  void alert(SInt16, const std::string& message, const std::string&) override {
    shown.push_back(message);
  }
  std::vector<std::string> shown;

 private:
  platform::ScopedBacking<platform::AlertBacking> m_installed{this};
};

class CaptureOnX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing_support::shared_xvfb_display() || !testing_support::have_program("xdotool"))
      GTEST_SKIP() << "needs Xvfb and xdotool";
    for (SInt32* stored : {G_CURSOR_Crsr1, G_CURSOR_Crsr2, G_CURSOR_Crsr1PC, G_CURSOR_Crsr2PC})
      std::fill_n(stored, kCursorPixels, 0x11);
    G_TRIGGERBUTTONWASEXPANDED = false;
    ASSERT_TRUE(window.show(testing_support::graded_cursor(), 100, 100, 100));
    ASSERT_TRUE(testing_support::xdotool("mousemove 150 150"));
  }
  void TearDown() override { EXPECT_EQ(platform::live_pixmap_count(), 0u); }

  fs::path capture() const { return sandbox.config_home() / "VeskaSoftware" / "CursorData"; }

  // Puts the file into the layout program's bundle as the named image.
  void store_in_plugin(const fs::path& file, const char* name) const {
    fs::path contents =
        sandbox.data_home() / "tavrine" / "PlugIns" / "LayoutCursors.bundle" / "Contents";
    fs::create_directories(contents / "Resources");
    std::ofstream(contents / "Info.plist") << "<plist><dict><key>CFBundleIdentifier</key><string>"
                                           << kCursorPlugInBundleID << "</string></dict></plist>";
    fs::copy_file(file, contents / "Resources" / name, fs::copy_options::overwrite_existing);
  }

  // Whether a double-click with the cursor the server shows now nudges.
  bool double_click_counts() {
    runs.scripts.clear();
    OpaqueEventRef event{kEventClassMouse, kEventMouseDown, 2, 1};
    MouseDownHandler(nullptr, &event, nullptr);
    return !runs.scripts.empty();
  }

  testing_support::DesktopSandbox sandbox;
  testing_support::CursorWindow window;
  testing_support::RecordingScripts runs;
  NoAlerts alerts;
};

}  // namespace

TEST_F(CaptureOnX11, ACaptureLoadedBackMatchesTheLiveCursor) {
  SaveCursorData();
  EXPECT_TRUE(alerts.shown.empty());
  std::string bytes = testing_support::read_file(capture());
  ASSERT_EQ(bytes.size(), 1024u);
  // The graded cursor's alphas are 0 to 255, row by row, as signed bytes.
  EXPECT_EQ(bytes.substr(4 * 0x01, 4), std::string("\x01\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(4 * 0x7F, 4), std::string("\x7F\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(4 * 0x80, 4), std::string("\x80\xFF\xFF\xFF", 4));
  EXPECT_EQ(bytes.substr(4 * 0xFF, 4), std::string("\xFF\xFF\xFF\xFF", 4));

  EXPECT_FALSE(double_click_counts()) << "not stored yet";
  store_in_plugin(capture(), "Crsr1PC");
  ASSERT_TRUE(LoadCursorData(2));
  EXPECT_TRUE(double_click_counts());
  EXPECT_TRUE(G_TRIGGERBUTTONWASEXPANDED);

  ASSERT_TRUE(testing_support::xdotool("mousemove 20 20"));
  EXPECT_FALSE(double_click_counts()) << "the root window's cursor";
}

TEST_F(CaptureOnX11, TheCaptureToolWritesWhatTheMonitorRecognises) {
  FILE* tool = ::popen(TAVRINE_CAPTURE_TOOL " 0", "r");
  ASSERT_NE(tool, nullptr);
  std::string said;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, tool)) said += buffer;
  EXPECT_EQ(::pclose(tool), 0) << said;
  EXPECT_NE(said.find("Wrote " + capture().string()), std::string::npos) << said;

  store_in_plugin(capture(), "Crsr2");
  ASSERT_TRUE(LoadCursorData(1));
  EXPECT_TRUE(double_click_counts());
  // The tool and the program capture the same bytes.
  std::string from_tool = testing_support::read_file(capture());
  SaveCursorData();
  EXPECT_EQ(testing_support::read_file(capture()), from_tool);
}
