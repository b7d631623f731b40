// The event monitor on a real X server: xdotool's clicks as mouse-downs.
#include <gtest/gtest.h>

#include <vector>

#include "platform/input.h"
#include "tests/support/clicks_x11.h"

namespace {

const EventTypeSpec kMouseDown[] = {{kEventClassMouse, kEventMouseDown}};

OSStatus record_click(EventHandlerCallRef, EventRef event, void* user_data) {
  UInt32 count = 0;
  OSStatus status = GetEventParameter(event, kEventParamClickCount, typeUInt32, nullptr,
                                      sizeof count, nullptr, &count);
  static_cast<std::vector<UInt32>*>(user_data)->push_back(status == noErr ? count : 0);
  return noErr;
}

class MonitorOnX11 : public testing_support::ClicksOnX11 {
 protected:
  void SetUp() override {
    ClicksOnX11::SetUp();
    if (IsSkipped()) return;
    ASSERT_EQ(
        InstallEventHandler(GetEventMonitorTarget(), record_click, 1, kMouseDown, &counts, nullptr),
        noErr);
    ASSERT_TRUE(testing_support::xdotool("mousemove 200 200"));
  }

  // Runs xdotool and collects the click counts of the presses it made.
  std::vector<UInt32> counts_of(const std::string& arguments, std::size_t presses) {
    counts.clear();
    EXPECT_TRUE(testing_support::xdotool(arguments));
    testing_support::pump_monitor_until([&] { return counts.size() >= presses; });
    // Anything beyond the expected presses would show up here too.
    testing_support::pump_monitor_until([] { return false; }, 100);
    return counts;
  }

  std::vector<UInt32> counts;
};

}  // namespace

TEST_F(MonitorOnX11, CountsRealDoubleAndTripleClicks) {
  EXPECT_EQ(counts_of("click 1", 1), (std::vector<UInt32>{1}));
  EXPECT_EQ(counts_of("sleep 0.5 click --repeat 2 --delay 80 1", 2), (std::vector<UInt32>{1, 2}));
  EXPECT_EQ(counts_of("sleep 0.5 click --repeat 3 --delay 80 3", 3),
            (std::vector<UInt32>{1, 2, 3}));
}

TEST_F(MonitorOnX11, StartsAgainWhenTooSlow) {
  EXPECT_EQ(counts_of("click --repeat 2 --delay 600 1", 2), (std::vector<UInt32>{1, 1}));
}

// The pointer's position is read when the press is dispatched, as the event
// loop does right after each press; a long interval leaves distance the only
// reason.
TEST_F(MonitorOnX11, StartsAgainWhenTooFar) {
  platform::set_double_click_settings(5000, 4);
  EXPECT_EQ(counts_of("click 1", 1), (std::vector<UInt32>{1}));
  EXPECT_EQ(counts_of("mousemove 203 197 click 1", 1), (std::vector<UInt32>{2}));
  EXPECT_EQ(counts_of("mousemove 220 197 click 1", 1), (std::vector<UInt32>{1}));
}

TEST_F(MonitorOnX11, LeavesTheWheelAlone) {
  EXPECT_EQ(counts_of("click 4 click 5 click 1", 1), (std::vector<UInt32>{1}));
}

TEST_F(MonitorOnX11, TellsTheHostWhatToWatch) {
  struct Host : platform::EventMonitorHost {
    void watch_descriptor(int fd) override { watched = fd; }
    int watched = -1;
  } host;
  platform::ScopedBacking<platform::EventMonitorHost> installed(&host);
  EXPECT_GE(host.watched, 0);
  EXPECT_EQ(host.watched, platform::event_monitor_descriptor());
}

TEST_F(MonitorOnX11, InstallsAHandlerOnlyOnce) {
  EXPECT_EQ(
      InstallEventHandler(GetEventMonitorTarget(), record_click, 1, kMouseDown, &counts, nullptr),
      eventHandlerAlreadyInstalledErr);
  EXPECT_EQ(counts_of("sleep 0.5 click 1", 1), (std::vector<UInt32>{1}));
}
