// The language's interface: compiling once and running many times, handlers
// called from outside, native calls through the method registry, the budget.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scriptkit/lang/script.h"
#include "scriptkit/model/coerce.h"
#include "scriptkit/runtime/methods.h"
#include "tests/support/sample_window.h"

using namespace scriptkit;

namespace {

std::int32_t g_last_row = 0;
std::int32_t RememberRow(std::int32_t row) {
  g_last_row = row;
  return row * 2;
}
const char* Greeting(const char* name) {
  static std::string text;
  text = std::string("Hello ") + name;
  return text.c_str();
}

class Lang : public ::testing::Test {
 protected:
  lang::Script compile(std::string_view text) {
    auto script = lang::Script::compile(text);
    EXPECT_FALSE(failed(script)) << std::get<ScriptError>(script).message;
    return std::get<lang::Script>(std::move(script));
  }
  lang::Environment env() {
    return {window.app, [this](std::string_view line) { logged.emplace_back(line); }};
  }
  ScriptError error_of(const Result<Value>& r) {
    EXPECT_TRUE(failed(r));
    return failed(r) ? std::get<ScriptError>(r) : ScriptError{};
  }

  sample::SampleWindow window;
  std::vector<std::string> logged;
};

TEST_F(Lang, CompiledScriptRunsManyTimes) {
  lang::Script script = compile(
      "tell window \"Main\"\nset a to bounds of button \"Trigger\"\n"
      "set item 3 of a to (item 3 of a) + 1\nset bounds of button \"Trigger\" to a\nend tell");
  for (int i = 0; i < 3; ++i) {
    lang::Instance run(script, env());
    EXPECT_FALSE(failed(run.run()));
  }
  EXPECT_EQ(window.trigger->bounds().right, 23);
}

TEST_F(Lang, InstanceKeepsPropertiesAcrossHandlerCalls) {
  lang::Instance instance(compile("property clicks : 0\n"
                                  "on clicked theObject\n"
                                  "  set clicks to clicks + 1\n"
                                  "  log name of theObject & \" \" & clicks\n"
                                  "end clicked\n"
                                  "on choose menu item theObject\n"
                                  "  return title of current menu item of theObject\n"
                                  "end choose menu item"),
                          env());
  Value button(std::static_pointer_cast<model::Element>(window.trigger));
  EXPECT_FALSE(failed(instance.call("clicked", std::span(&button, 1))));
  EXPECT_FALSE(failed(instance.call("clicked", std::span(&button, 1))));
  EXPECT_EQ(logged, (std::vector<std::string>{"Trigger 1", "Trigger 2"}));
  Value units(std::static_pointer_cast<model::Element>(window.units));
  auto title = instance.call("choose menu item", std::span(&units, 1));
  EXPECT_EQ(std::get<Value>(title).as_text(), "Pixels");
  EXPECT_TRUE(instance.has_handler("choose menu item"));
  EXPECT_EQ(error_of(instance.call("launched", {})).number, kErrDoesNotUnderstand);
}

TEST_F(Lang, CallMethodReachesTheRuntimeRegistry) {
  runtime::registry().add(
      {runtime::kApplicationObject, "__RememberRow:", runtime::bind<&RememberRow>()});
  runtime::registry().add({"TestClass", "greet:", runtime::bind<&Greeting>()});
  auto r = lang::run_text(
      "log (call method \"__RememberRow:\" with parameter 21)\n"
      "log (call method \"greet:\" of class \"TestClass\" with parameters {\"Pré\"})\n"
      "set args to {7}\n"
      "call method \"__RememberRow:\" with parameters args",
      env());
  EXPECT_FALSE(failed(r));
  EXPECT_EQ(logged, (std::vector<std::string>{"42", "Hello Pré"}));
  EXPECT_EQ(g_last_row, 7);
  auto missing =
      lang::run_text("call method \"nothing:\" of class \"TestClass\" with parameter 1", env());
  EXPECT_EQ(error_of(missing).number, kErrDoesNotUnderstand);
}

TEST_F(Lang, StepBudgetStopsEveryLoop) {
  lang::Environment small = env();
  small.step_budget = 500;
  lang::Instance forever(compile("set n to 0\nrepeat\nset n to n + 1\nend repeat"), small);
  auto r = forever.run();
  EXPECT_EQ(error_of(r).number, kErrStepBudget);
  EXPECT_LE(forever.steps_taken(), 501u);
  // `try` cannot catch an exhausted budget.
  lang::Instance caught(compile("try\nrepeat\nend repeat\non error\nlog \"caught\"\nend try"),
                        small);
  EXPECT_EQ(error_of(caught.run()).number, kErrStepBudget);
  EXPECT_TRUE(logged.empty());
}

TEST_F(Lang, AWindowCommandTakesFewSteps) {
  lang::Instance command(
      compile("tell window \"Main\"\nmake new menu item at the end of menu items of menu of "
              "popup button \"MAINWAP_ITEM_OPENWITHPOPUP\" with properties {title:\"A\", "
              "enabled:true}\nend tell"),
      env());
  EXPECT_FALSE(failed(command.run()));
  EXPECT_LT(command.steps_taken(), 40u);
}

TEST_F(Lang, FailedSetChangesNothing) {
  int changes = 0;
  window.app->observe([&](const model::Change&) { ++changes; });
  auto r = lang::run_text(
      "tell window \"Main\"\nset state of button \"Trigger\" to \"on\"\nend tell", env());
  EXPECT_EQ(error_of(r).number, kErrCantMake);
  EXPECT_EQ(changes, 0);
}

}  // namespace
