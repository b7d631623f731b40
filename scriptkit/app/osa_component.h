// The scripting component of the framework: compiles script text with the
// script language of scriptkit/lang and runs it against the window model.
// Installed for 'osa '/'ascr' so that OpenDefaultComponent finds it; each
// opened instance keeps its own compiled scripts and results until they are
// disposed of or the instance is closed. Script text arrives as Mac Roman
// bytes and is decoded to UTF-8 before compiling.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>

#include "platform/osa.h"
#include "scriptkit/lang/script.h"
#include "scriptkit/model/view.h"

namespace scriptkit::app {

struct OsaSettings {
  // The application whose windows the scripts address.
  std::shared_ptr<model::Application> application;
  // Where `log` writes; empty: nowhere.
  lang::LogSink log;
  std::uint64_t step_budget = lang::kDefaultStepBudget;
};

// How many scripts of the native side run now (nested runs count each).
int native_scripts_running();

// Installs the component with the platform's registry.
void install_osa_component(OsaSettings settings);
// Removes it again; OpenDefaultComponent then finds none.
void remove_osa_component();

// A component instance; exposed for tests that drive it without the registry.
class OsaComponent : public platform::ScriptingComponent {
 public:
  explicit OsaComponent(OsaSettings settings);
  ~OsaComponent() override;

  // Fails with the compile error's number (-2740, -2741).
  OSErr compile(std::string_view mac_roman_text, OSAID* id) override;
  // Runs a compiled script with fresh state; stores a result id, or 0 when
  // the script produced no value. Fails with the run error's number.
  OSErr execute(OSAID script, OSAID* result) override;
  OSErr dispose(OSAID id) override;
  std::string last_error_message() const override { return m_last_error; }

 private:
  OsaSettings m_settings;
  // Compiled scripts and result values by id.
  std::map<OSAID, std::variant<lang::Script, Value>> m_entries;
  OSAID m_next_id = 1;
  std::string m_last_error;
};

}  // namespace scriptkit::app
