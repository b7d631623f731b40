// Click counting for a desktop that reports single presses only.
#pragma once

#include "platform/types.h"

namespace platform {

// How close in time and place two presses must be to make a double-click.
struct DoubleClickSettings {
  UInt32 interval_ms = 400;
  SInt32 distance_px = 4;
};

// Counts the presses of a series: 1 for a press that starts a series, one
// more for each press that continues it.
class ClickCounter {
 public:
  // Counts a press of button at (x, y), made at time_ms on the X server's
  // millisecond clock (which wraps after 49 days), and returns its click
  // count. A press continues the series when it is of the same button as the
  // previous press, comes no later than interval_ms after it and lies within
  // distance_px of it on both axes.
  UInt32 press(UInt32 button, UInt32 time_ms, SInt32 x, SInt32 y,
               const DoubleClickSettings& settings);

 private:
  bool continues(UInt32 button, UInt32 time_ms, SInt32 x, SInt32 y,
                 const DoubleClickSettings& settings) const;

  UInt32 m_count = 0;  // 0 before the first press
  UInt32 m_button = 0;
  UInt32 m_time_ms = 0;
  SInt32 m_x = 0;
  SInt32 m_y = 0;
};

}  // namespace platform
