// A running window for tests: the real framework with the bundle's own
// Main.layout and Main.applescript, its Qt view, and every bridge call of the
// window script recorded on its way to the program's own operation, which
// still runs.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <array>
#include <string>
#include <vector>

#include "scriptkit/app/framework.h"
#include "scriptkit/model/model.h"
#include "scriptkit/qt/qt_toolkit.h"
#include "scriptkit/qt/window_view.h"
#include "scriptkit/runtime/methods.h"
#include "tests/support/qt_app.h"
#include "tests/support/sandbox.h"

namespace window_test {

using namespace scriptkit;
using namespace scriptkit::model;

// The calls the window script makes (the native side's own call of
// createSeparatorItem:, through a window command, is not among them).
constexpr std::array<std::pair<std::string_view, std::string_view>, 18> kRecorded = {{
    {"", "__SetStringValueToCGlobal:withValue:"},
    {"", "__GetStringValueFromCGlobal:"},
    {"", "__SetIntValueToCGlobal:withValue:"},
    {"", "__GetPreferences"},
    {"", "__SavePreferences"},
    {"", "__InstallEventHandlers"},
    {"", "__GetPictureInfo"},
    {"", "__LoadOpenWithListPopUp"},
    {"", "__SetPostAppListPopUpSelection"},
    {"", "__HandleOpenWithPopUpSelection:withValue:"},
    {"", "__SetInitialOpenWithPopUpStatus"},
    {"", "__UpdateLastOpenWithSelectedRowGlobal:"},
    {"", "__UpdateAlwaysOpenWithGlobal:"},
    {"", "__MyLaunchApplication"},
    {"", "__HandleDimensionsUnitsChange"},
    {"", "__HandleRevealFolder:withValue:"},
    {"", "activateIgnoringOtherApps:"},
    {"VeskaClass", "DisplayIcon:which:"},
}};

inline std::vector<std::string> g_calls;
inline std::array<runtime::Invoker, kRecorded.size()> g_original{};

inline std::string argument_text(const Value& v) {
  if (v.is_element()) return v.as_element()->name();
  if (v.is_integer()) return std::to_string(v.as_integer());
  if (v.is_text()) return "\"" + v.as_text() + "\"";
  if (v.is_bool()) return v.as_bool() ? "true" : "false";
  return "?";
}

// One recorder for each recorded selector: it writes the call down and hands
// it on to the operation it stands in front of.
template <std::size_t N>
Result<Value> recorder(std::span<const Value> args) {
  std::string call(kRecorded[N].second);
  for (const Value& arg : args) call += " " + argument_text(arg);
  g_calls.push_back(call);
  return g_original[N] ? g_original[N](args) : Result<Value>(Value());
}

template <std::size_t... N>
void install_recorders(std::index_sequence<N...>) {
  auto& registry = runtime::registry();
  auto original = [&](std::string_view receiver, std::string_view selector,
                      runtime::Invoker self) -> runtime::Invoker {
    const runtime::Method* found = registry.find(receiver, selector);
    return found && found->invoke != self ? found->invoke : nullptr;
  };
  ((g_original[N] = original(kRecorded[N].first, kRecorded[N].second, &recorder<N>)), ...);
  (registry.add(runtime::Method{kRecorded[N].first, kRecorded[N].second, &recorder<N>}), ...);
}

// Counts the times the script brought the window forward.
class CountingToolkit : public app::Toolkit {
 public:
  explicit CountingToolkit(qt::WindowView* view) : m_qt(view) {}
  void post(std::function<void()> task) override { m_qt.post(std::move(task)); }
  void activate() override {
    ++activations;
    m_qt.activate();
  }
  void quit() override {}
  int activations = 0;

 private:
  qt::QtToolkit m_qt;
};

class RunningWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::qt_application();
    setenv("XDG_RUNTIME_DIR", sandbox.root().c_str(), 1);
    setenv("LC_ALL", "en_US.UTF-8", 1);  // numbers as the examples write them
    std::filesystem::create_directories(sandbox.root() / "Jobs" / "Spring");
    picture = (sandbox.root() / "Jobs" / "Spring" / "cover.png").string();
    QImage image(72, 36, QImage::Format_RGB32);
    image.fill(Qt::white);
    ASSERT_TRUE(image.save(QString::fromStdString(picture)));
    start();
  }
  void TearDown() override { stop(); }

  void start() {
    runtime::load_program_methods();
    framework = std::make_unique<app::Framework>();
    install_recorders(std::make_index_sequence<kRecorded.size()>());
    auto error = framework->load(std::filesystem::path(TAVRINE_SOURCE_DIR) / "resources");
    ASSERT_FALSE(error) << *error;
    framework->set_window_printer([this](std::string_view text) { printed = text; });
    view = std::make_unique<qt::WindowView>(framework->main_window(), *framework, false);
    toolkit = std::make_unique<CountingToolkit>(view.get());
    framework->set_toolkit(toolkit.get());
    g_calls.clear();
  }
  void stop() {
    if (!framework) return;
    framework->will_quit();
    view.reset();
    framework.reset();
  }
  template <typename T>
  std::shared_ptr<T> element(std::string_view class_name, std::string_view name) {
    auto found = element_named(*framework->main_window(), class_name, name);
    return std::dynamic_pointer_cast<T>(std::get<ElementPtr>(found));
  }
  // The user picks a row of a pop-up through its widget.
  void choose(std::string_view popup, std::string_view title) {
    auto* combo =
        qobject_cast<QComboBox*>(view->widget_of(*element<PopUpButton>("popup button", popup)));
    int row = combo->findText(QString::fromUtf8(title.data(), qsizetype(title.size())));
    ASSERT_GE(row, 0) << title;
    combo->setCurrentIndex(row);
    emit combo->activated(row);
  }
  // The user clicks a button through its widget.
  void click(std::string_view button) {
    qobject_cast<QAbstractButton*>(view->widget_of(*element<Button>("button", button)))->click();
  }
  std::vector<std::string> take_calls() { return std::exchange(g_calls, {}); }

  testing_support::DesktopSandbox sandbox;
  std::string picture;
  std::unique_ptr<app::Framework> framework;
  std::unique_ptr<qt::WindowView> view;
  std::unique_ptr<CountingToolkit> toolkit;
  std::string printed;
};

}  // namespace window_test
