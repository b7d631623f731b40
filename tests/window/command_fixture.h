// The window commands' test fixture: the sample window, the real scripting
// component installed over it, and a recorder of every script text the
// component is handed (Mac Roman bytes, as the runner passes them).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/aedesc.h"
#include "platform/osa.h"
#include "platform/text.h"
#include "scriptkit/app/osa_component.h"
#include "scriptkit/runtime/methods.h"
#include "tests/support/sample_window.h"

namespace window_test {

// A short text from a C string, for the commands' arguments.
struct P {
  explicit P(const std::string& s) {
    text[0] = static_cast<unsigned char>(s.size() > 255 ? 255 : s.size());
    std::memcpy(text + 1, s.data(), text[0]);
  }
  operator const unsigned char*() const { return text; }
  unsigned char text[256];
};

// The real component, with every text it compiles written down.
class RecordingComponent : public platform::ScriptingComponent {
 public:
  RecordingComponent(scriptkit::app::OsaSettings settings, std::vector<std::string>* texts)
      : m_inner(std::move(settings)), m_texts(texts) {}
  OSErr compile(std::string_view text, OSAID* id) override {
    m_texts->emplace_back(text);
    return m_inner.compile(text, id);
  }
  OSErr execute(OSAID script, OSAID* result) override { return m_inner.execute(script, result); }
  OSErr dispose(OSAID id) override { return m_inner.dispose(id); }
  std::string last_error_message() const override { return m_inner.last_error_message(); }

 private:
  scriptkit::app::OsaComponent m_inner;
  std::vector<std::string>* m_texts;
};

// Stands in for the program's VeskaClass method of the same name: appends a
// separator row to the pop-up button's menu.
inline void AppendSeparator(scriptkit::runtime::Object popup) {
  if (auto* button = dynamic_cast<scriptkit::model::PopUpButton*>(popup.get())) {
    button->menu()->add_separator();
  }
}

class WindowCommands : public ::testing::Test, public platform::ScriptingComponentFactory {
 protected:
  std::unique_ptr<platform::ScriptingComponent> make_component() override {
    scriptkit::app::OsaSettings settings{
        w.app, [this](std::string_view line) { logged.emplace_back(line); }};
    return std::make_unique<RecordingComponent>(settings, &texts);
  }

  void SetUp() override {
    scriptkit::runtime::registry().add(
        {"VeskaClass", "createSeparatorItem:", scriptkit::runtime::bind<&AppendSeparator>()});
    w.app->observe([this](const scriptkit::model::Change&) { ++changes; });
  }

  void TearDown() override {
    EXPECT_EQ(platform::live_descriptor_count(), 0u);
    EXPECT_EQ(platform::live_component_count(), 0u);
    EXPECT_EQ(platform::live_script_id_count(), 0u);
  }

  // The last text run, as UTF-8.
  std::string last_text() const {
    return texts.empty() ? std::string() : platform::mac_roman_to_utf8(texts.back());
  }
  std::vector<std::string> titles() const {
    std::vector<std::string> out;
    auto menu = w.open_with->menu();
    for (std::size_t i = 0; i < menu->item_count(); ++i) {
      out.push_back(menu->item(i)->separator() ? "-" : menu->item(i)->title());
    }
    return out;
  }

  sample::SampleWindow w;
  std::vector<std::string> texts;
  std::vector<std::string> logged;
  int changes = 0;
  platform::ScopedBacking<platform::ScriptingComponentFactory> installed{this};
};

}  // namespace window_test
