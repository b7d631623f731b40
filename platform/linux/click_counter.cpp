#include "platform/linux/click_counter.h"

#include <cstdlib>

namespace platform {

UInt32 ClickCounter::press(UInt32 button, UInt32 time_ms, SInt32 x, SInt32 y,
                           const DoubleClickSettings& settings) {
  m_count = continues(button, time_ms, x, y, settings) ? m_count + 1 : 1;
  m_button = button;
  m_time_ms = time_ms;
  m_x = x;
  m_y = y;
  return m_count;
}

bool ClickCounter::continues(UInt32 button, UInt32 time_ms, SInt32 x, SInt32 y,
                             const DoubleClickSettings& settings) const {
  if (m_count == 0 || button != m_button) return false;
  // Unsigned subtraction keeps the interval right across the clock's wrap.
  if (time_ms - m_time_ms > settings.interval_ms) return false;
  return std::abs(x - m_x) <= settings.distance_px && std::abs(y - m_y) <= settings.distance_px;
}

}  // namespace platform
