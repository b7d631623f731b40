// The Qt backings of the bell and the standard alert.
#pragma once

#include "platform/alerts.h"

namespace scriptkit::qt {

class QtAlerts final : public platform::AlertBacking {
 public:
  void beep() override;
  void alert(SInt16 type, const std::string& message, const std::string& explanation) override;
};

}  // namespace scriptkit::qt
