// The script-driven application: the window model built from the bundle's
// Main.layout, the window script compiled from Main.applescript, and the
// dispatch of events to the script's handlers:
//
//   on launched theObject          the application has started (the application)
//   on open theFiles               pictures to show: a list of POSIX path texts
//   on clicked theObject           a button or check box was clicked
//   on choose menu item theObject  a row of a pop-up button was chosen (the pop-up)
//   on bounds changed theObject    a view's bounds were changed from outside
//                                  the window script (the view)
//   on will quit theObject         the application is about to quit (the application)
//
// A handler the script does not define is skipped. A handler's failure is
// written to standard error and ends that handler only. Handlers run one at a
// time: an event that arrives while one runs (through a modal dialog's event
// loop) waits until it has ended. Changes of bounds made by the window
// script's own statements are not reported back to it; all others (the
// native side's window commands, even while a handler runs, and the toolkit)
// arrive as `bounds changed` once the current event, and any handler
// running, is done.
//
// The framework also gives the scripts a few methods of its own:
//   call method "activateIgnoringOtherApps:" with parameter true
//       brings the application and its window forward
//   call method "terminate:" with parameter 0
//       quits, as closing the window does
// and the class "UserDefaults" (user_defaults.h), whose values live under
// $XDG_CONFIG_HOME/tavrine/. It keeps each window's position there too.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scriptkit/app/user_defaults.h"
#include "scriptkit/app/view_events.h"
#include "scriptkit/model/view.h"

namespace scriptkit::app {

// What the toolkit front end does for the framework.
class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Runs a task once the event being handled is done.
  virtual void post(std::function<void()> task) = 0;
  // Brings the application and its main window forward.
  virtual void activate() = 0;
  // Ends the event loop; will_quit() is called on the way out.
  virtual void quit() = 0;
};

class Framework final : public ViewEvents {
 public:
  // The program's name names its settings folder under $XDG_CONFIG_HOME.
  explicit Framework(std::string program = "tavrine");
  ~Framework() override;
  Framework(const Framework&) = delete;
  Framework& operator=(const Framework&) = delete;

  // Loads the bundle's Main.layout into the model and compiles its
  // Main.applescript, then installs the scripting component for the native
  // side's window commands. On failure returns a message naming the file and
  // line, and the framework must not be used further.
  std::optional<std::string> load(const std::filesystem::path& bundle);

  const std::shared_ptr<model::Application>& application() const { return m_app; }
  // The window "Main", or nullptr before load().
  std::shared_ptr<model::Window> main_window() const;
  UserDefaults& defaults() { return m_defaults; }

  // Not owned; nullptr: tasks run at once, activate and quit do nothing.
  void set_toolkit(Toolkit* toolkit) { m_toolkit = toolkit; }
  // Receives the window "Main" as text after each handler, headed by
  // "== <handler>"; empty: nothing is printed.
  void set_window_printer(std::function<void(std::string_view)> printer);

  // Moves each window to the position kept from the last run; returns the
  // names of the windows that had one.
  std::vector<std::string> restore_window_positions();
  // Keeps each window's position for the next run.
  void keep_window_positions();

  // Events.
  void launched();
  void open(const std::vector<std::string>& paths) override;
  void clicked(model::Element& control) override;
  void chose_menu_item(model::PopUpButton& popup) override;
  // Runs `will quit` and keeps the window positions; only the first call acts.
  void will_quit();

  // The toolkit's quit and activate, for the script methods.
  void request_activate();
  void request_quit();

 private:
  struct Script;
  struct Pending {
    std::string handler;
    std::vector<Value> args;
  };
  void dispatch(std::string_view handler, std::vector<Value> args);
  void run_handler(std::string_view handler, const std::vector<Value>& args);
  void watch_bounds();

  std::string m_program;
  std::shared_ptr<model::Application> m_app;
  std::unique_ptr<Script> m_script;
  UserDefaults m_defaults;
  Toolkit* m_toolkit = nullptr;
  std::function<void(std::string_view)> m_printer;
  int m_handler_depth = 0;
  std::deque<Pending> m_pending;
  bool m_quitting = false;
  std::shared_ptr<bool> m_alive;  // lets posted tasks see that the framework has gone
};

}  // namespace scriptkit::app
