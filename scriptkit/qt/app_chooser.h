// The Qt application chooser: a modal dialog listing the installed
// applications with their icons and a filter field, with a button to pick any
// desktop entry or executable file.
#pragma once

#include <optional>
#include <string>

#include "platform/nav.h"

namespace scriptkit::qt {

class AppChooser final : public platform::ChooserBacking {
 public:
  std::optional<std::string> choose_application(const std::string& message,
                                                const std::string& action_label,
                                                const std::string& cancel_label) override;
};

}  // namespace scriptkit::qt
