// Compiles and runs arbitrary bytes as a script, through the scripting
// component, against a window like the program's. Must never crash, hang or
// leak, whatever the text: the step budget, the depth limits and the size
// caps of the language are what this exercises.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scriptkit/app/osa_component.h"
#include "scriptkit/runtime/methods.h"
#include "tests/support/sample_window.h"

namespace {

void AppendSeparator(scriptkit::runtime::Object popup) {
  if (auto* button = dynamic_cast<scriptkit::model::PopUpButton*>(popup.get())) {
    button->menu()->add_separator();
  }
}

// Small enough that a slow input still ends in milliseconds.
constexpr std::uint64_t kFuzzStepBudget = 20'000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool registered = [] {
    scriptkit::runtime::registry().add(
        {"VeskaClass", "createSeparatorItem:", scriptkit::runtime::bind<&AppendSeparator>()});
    return true;
  }();
  (void)registered;
  sample::SampleWindow window;
  scriptkit::app::OsaComponent component({window.app, {}, kFuzzStepBudget});
  OSAID script = kOSANullScript;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (component.compile(text, &script) != noErr) return 0;
  OSAID result = kOSANullScript;
  if (component.execute(script, &result) == noErr && result != kOSANullScript) {
    component.dispose(result);
  }
  component.dispose(script);
  return 0;
}
