// The Qt application chooser: a modal dialog listing the applications
// recommended for the picture in hand, then every other installed
// application, with their icons and a filter field, and a button to pick any
// desktop entry or executable file. The chosen application is always the row
// the user sees selected. The dialog's size is kept in the window's defaults.
#pragma once

#include <optional>
#include <string>

#include "platform/nav.h"

namespace scriptkit::app {
class UserDefaults;
}

namespace scriptkit::qt {

class AppChooser final : public platform::ChooserBacking {
 public:
  // `defaults` (not owned, may be null) keeps the dialog's size.
  explicit AppChooser(app::UserDefaults* defaults = nullptr) : m_defaults(defaults) {}
  std::optional<std::string> choose_application(const std::string& message,
                                                const std::string& action_label,
                                                const std::string& cancel_label) override;

 private:
  app::UserDefaults* m_defaults;
};

}  // namespace scriptkit::qt
