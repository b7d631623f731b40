// Answers the application chooser in tests, while it lives: a fixed path, or
// a cancel.
#pragma once

#include <optional>
#include <string>

#include "platform/nav.h"

namespace testing_support {

class AnsweringChooser final : public platform::ChooserBacking {
 public:
  std::optional<std::string> choose_application(const std::string& message,
                                                const std::string& action_label,
                                                const std::string& cancel_label) override {
    ++asked;
    last_message = message;
    last_action = action_label;
    last_cancel = cancel_label;
    return answer;
  }
  std::optional<std::string> answer;  // nothing means the user cancelled
  int asked = 0;
  std::string last_message, last_action, last_cancel;

 private:
  platform::ScopedBacking<platform::ChooserBacking> m_installed{this};
};

}  // namespace testing_support
