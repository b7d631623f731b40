// The base of the tests that click with xdotool on the private X server and
// watch the event monitor: skips without Xvfb or xdotool, sets a double-click
// time of 400 ms within 4 pixels, and stops the monitor after each test.
// A derived SetUp calls this one first and returns when IsSkipped().
#pragma once

#include <gtest/gtest.h>

#include "platform/input.h"
#include "tests/support/xvfb.h"

namespace testing_support {

class ClicksOnX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!shared_xvfb_display() || !have_program("xdotool"))
      GTEST_SKIP() << "needs Xvfb and xdotool";
    platform::set_double_click_settings(400, 4);
  }
  void TearDown() override { platform::reset_event_monitor(); }
};

}  // namespace testing_support
