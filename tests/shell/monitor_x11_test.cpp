// The whole trigger on a real X server: a cursor on a window, xdotool's
// clicks, the monitor, the XFixes image and the scripts the runner is given.
#include <gtest/gtest.h>

#include "shell/cursors.h"
#include "shell/monitor.h"
#include "shell/records.h"
#include "tests/support/clicks_x11.h"
#include "tests/support/cursor_window.h"
#include "tests/support/trigger_support.h"

namespace {

class TriggerOnX11 : public testing_support::ClicksOnX11 {
 protected:
  void SetUp() override {
    ClicksOnX11::SetUp();
    if (IsSkipped()) return;
    // The graded cursor's first bytes are its alphas, 0 to 255 as signed bytes.
    for (int i = 0; i < 256; ++i) G_CURSOR_Crsr2[i] = static_cast<SInt8>(i);
    G_TRIGGERBUTTONWASEXPANDED = false;
    ASSERT_TRUE(window.show(testing_support::graded_cursor(), 100, 100, 100));
    MyInstallEventHandler();
    ASSERT_GE(platform::event_monitor_descriptor(), 0);
  }

  // Clicks with xdotool, waits out the double-click time and returns the
  // texts of the scripts run meanwhile.
  std::vector<std::string> scripts_after(const std::string& arguments) {
    runs.scripts.clear();
    EXPECT_TRUE(testing_support::xdotool(arguments));
    testing_support::pump_monitor_until([] { return false; }, 500);
    std::vector<std::string> texts;
    for (const auto& script : runs.scripts) texts.push_back(script.text);
    return texts;
  }

  static std::string widen() { return nudge('+'); }
  static std::string narrow() { return nudge('-'); }
  static std::string nudge(char sign) {
    return std::string("tell window \"Main\"\nset a to bounds of button \"Trigger\"\n") +
           "set item 3 of a to (item 3 of a) " + sign +
           " 1\nset bounds of button \"Trigger\" to a\nend tell";
  }

  testing_support::CursorWindow window;
  testing_support::RecordingScripts runs;
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(TriggerOnX11, DoubleClicksOverOurCursorWidenThenNarrow) {
  EXPECT_EQ(scripts_after("mousemove 150 150 click --repeat 2 --delay 80 1"), Texts{widen()});
  EXPECT_TRUE(G_TRIGGERBUTTONWASEXPANDED);
  EXPECT_EQ(runs.trigger_right(), 61);
  EXPECT_EQ(scripts_after("click --repeat 2 --delay 80 1"), Texts{narrow()});
  EXPECT_FALSE(G_TRIGGERBUTTONWASEXPANDED);
  EXPECT_EQ(runs.trigger_right(), 60);
}

TEST_F(TriggerOnX11, SingleAndSlowClicksChangeNothing) {
  EXPECT_EQ(scripts_after("mousemove 150 150 click 1"), Texts{});
  EXPECT_EQ(scripts_after("click --repeat 2 --delay 600 1"), Texts{});
  EXPECT_FALSE(G_TRIGGERBUTTONWASEXPANDED);
  EXPECT_EQ(runs.trigger_right(), 60);
}

// A triple click is a double-click and one press more: its second press
// nudges once, its third (click count 3) changes nothing.
TEST_F(TriggerOnX11, ATripleClickNudgesOnceAtItsSecondPress) {
  EXPECT_EQ(scripts_after("mousemove 150 150 click --repeat 3 --delay 80 1"), Texts{widen()});
}

TEST_F(TriggerOnX11, DoubleClicksWithAnotherCursorChangeNothing) {
  EXPECT_EQ(scripts_after("mousemove 20 20 click --repeat 2 --delay 80 1"), Texts{});
  // Our cursor, but no longer among the stored images.
  G_CURSOR_Crsr2[255] = 0;
  EXPECT_EQ(scripts_after("mousemove 150 150 click --repeat 2 --delay 80 1"), Texts{});
  EXPECT_EQ(platform::live_pixmap_count(), 0u);
}
