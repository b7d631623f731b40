// The event monitor's interface without a desktop to watch.
#include "platform/input.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>

namespace {

OSStatus ignore_event(EventHandlerCallRef, EventRef, void*) {
  return noErr;
}

const EventTypeSpec kMouseDown[] = {{kEventClassMouse, kEventMouseDown}};

class MonitorWithoutDesktop : public ::testing::Test {
 protected:
  void TearDown() override { platform::reset_event_monitor(); }
};

}  // namespace

TEST(EventParameter, GivesTheClickCountAsFourBytes) {
  OpaqueEventRef event{kEventClassMouse, kEventMouseDown, 2, 1};
  UInt32 count = 0;
  EventParamType type = 0;
  ByteCount size = 0;
  EXPECT_EQ(GetEventParameter(&event, kEventParamClickCount, typeUInt32, &type, sizeof count, &size,
                              &count),
            noErr);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(type, FOUR_CHAR_CODE("magn"));
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(GetEventParameter(&event, FOUR_CHAR_CODE("ccnt"), FOUR_CHAR_CODE("magn"), nullptr, 4,
                              nullptr, &count),
            noErr);
}

TEST(EventParameter, RefusesWhatItCannotGive) {
  OpaqueEventRef event{kEventClassMouse, kEventMouseDown, 3, 1};
  UInt32 count = 77;
  std::uint16_t small = 0;
  EXPECT_EQ(GetEventParameter(&event, kEventParamClickCount, FOUR_CHAR_CODE("shor"), nullptr, 4,
                              nullptr, &count),
            errAECoercionFail);
  EXPECT_EQ(GetEventParameter(&event, kEventParamClickCount, typeUInt32, nullptr, sizeof small,
                              nullptr, &small),
            paramErr);
  EXPECT_EQ(
      GetEventParameter(&event, FOUR_CHAR_CODE("mbtn"), typeUInt32, nullptr, 4, nullptr, &count),
      eventParameterNotFoundErr);
  OpaqueEventRef key{FOUR_CHAR_CODE("keyb"), 1, 0, 0};
  EXPECT_EQ(GetEventParameter(&key, kEventParamClickCount, typeUInt32, nullptr, 4, nullptr, &count),
            eventParameterNotFoundErr);
  EXPECT_EQ(
      GetEventParameter(nullptr, kEventParamClickCount, typeUInt32, nullptr, 4, nullptr, &count),
      paramErr);
  EXPECT_EQ(count, 77u);
}

TEST_F(MonitorWithoutDesktop, SaysWhyWithoutADisplay) {
  unsetenv("DISPLAY");
  EXPECT_EQ(
      InstallEventHandler(GetEventMonitorTarget(), ignore_event, 1, kMouseDown, nullptr, nullptr),
      eventInternalErr);
  EXPECT_EQ(platform::event_monitor_failure(), "no X11 display: DISPLAY is not set");
  EXPECT_EQ(platform::event_monitor_descriptor(), -1);
  platform::dispatch_event_monitor();  // nothing to read, nothing to block on

  setenv("DISPLAY", ":59999", 1);
  EXPECT_EQ(
      InstallEventHandler(GetEventMonitorTarget(), ignore_event, 1, kMouseDown, nullptr, nullptr),
      eventInternalErr);
  EXPECT_EQ(platform::event_monitor_failure(), "cannot open the X11 display :59999");
}

TEST_F(MonitorWithoutDesktop, RefusesMissingArguments) {
  EXPECT_EQ(InstallEventHandler(nullptr, ignore_event, 1, kMouseDown, nullptr, nullptr), paramErr);
  EXPECT_EQ(InstallEventHandler(GetEventMonitorTarget(), nullptr, 1, kMouseDown, nullptr, nullptr),
            paramErr);
  EXPECT_EQ(
      InstallEventHandler(GetEventMonitorTarget(), ignore_event, 1, nullptr, nullptr, nullptr),
      paramErr);
}
