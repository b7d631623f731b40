#include "scriptkit/app/osa_component.h"

#include <utility>

#include "platform/text.h"

namespace scriptkit::app {
namespace {

int g_running = 0;

}  // namespace

int native_scripts_running() {
  return g_running;
}

OsaComponent::OsaComponent(OsaSettings settings) : m_settings(std::move(settings)) {}

OsaComponent::~OsaComponent() = default;

OSErr OsaComponent::compile(std::string_view mac_roman_text, OSAID* id) {
  if (id == nullptr) return paramErr;
  auto script = lang::Script::compile(platform::mac_roman_to_utf8(mac_roman_text));
  if (failed(script)) {
    const ScriptError& error = std::get<ScriptError>(script);
    m_last_error = error.message;
    return error.number;
  }
  OSAID new_id = m_next_id++;
  m_entries.emplace(new_id, std::get<lang::Script>(std::move(script)));
  *id = new_id;
  return noErr;
}

OSErr OsaComponent::execute(OSAID script, OSAID* result) {
  auto it = m_entries.find(script);
  const lang::Script* compiled =
      it == m_entries.end() ? nullptr : std::get_if<lang::Script>(&it->second);
  if (compiled == nullptr) return errOSAInvalidID;
  lang::Environment environment{m_settings.application, m_settings.log, m_settings.step_budget};
  lang::Instance instance(*compiled, std::move(environment));
  ++g_running;
  Result<Value> outcome = instance.run();
  --g_running;
  if (failed(outcome)) {
    const ScriptError& error = std::get<ScriptError>(outcome);
    m_last_error = error.message;
    return error.number;
  }
  Value value = std::get<Value>(std::move(outcome));
  OSAID new_id = kOSANullScript;
  if (!value.is_missing()) {
    new_id = m_next_id++;
    m_entries.emplace(new_id, std::move(value));
  }
  if (result) *result = new_id;
  return noErr;
}

OSErr OsaComponent::dispose(OSAID id) {
  return m_entries.erase(id) ? noErr : errOSAInvalidID;
}

namespace {

// Makes components with the settings it was installed with.
class OsaComponentFactory final : public platform::ScriptingComponentFactory {
 public:
  explicit OsaComponentFactory(OsaSettings settings) : m_settings(std::move(settings)) {}
  std::unique_ptr<platform::ScriptingComponent> make_component() override {
    return std::make_unique<OsaComponent>(m_settings);
  }

 private:
  OsaSettings m_settings;
};

std::unique_ptr<OsaComponentFactory> s_installed;

}  // namespace

void install_osa_component(OsaSettings settings) {
  auto factory = std::make_unique<OsaComponentFactory>(std::move(settings));
  platform::install_backing(factory.get());
  s_installed = std::move(factory);
}

void remove_osa_component() {
  platform::install_backing(static_cast<platform::ScriptingComponentFactory*>(nullptr));
  s_installed.reset();
}

}  // namespace scriptkit::app
