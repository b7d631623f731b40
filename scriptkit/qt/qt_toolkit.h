// The framework's toolkit on Qt: tasks posted to the event loop, the window
// brought forward, the loop ended.
#pragma once

#include <string>

#include "scriptkit/app/framework.h"
#include "scriptkit/qt/window_view.h"

namespace scriptkit::qt {

class QtToolkit final : public app::Toolkit {
 public:
  explicit QtToolkit(WindowView* main_window = nullptr) : m_main(main_window) {}

  void post(std::function<void()> task) override;
  void activate() override;
  void quit() override;

 private:
  WindowView* m_main;
};

// True when Qt runs without a display (the offscreen or minimal platform).
bool running_headless();

// Completes a startup that a second launch handed over with its pictures:
// under Wayland the id is the compositor's activation token, with which the
// window asks to be activated; elsewhere the desktop is told that the
// startup is complete and the X window is activated with the id's time.
void complete_startup(QWidget& window, const std::string& startup_id);

}  // namespace scriptkit::qt
