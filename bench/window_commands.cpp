// Compile-and-run cost of the window commands through the real runner and
// scripting component, against a window like the program's, without Qt.
// Targets on the 2-core build machine: under 20 µs per command, under 1 ms
// for filling the open-with pop-up with 50 applications (54 commands).
#include <benchmark/benchmark.h>

#include <string>

#include "scriptkit/app/osa_component.h"
#include "scriptkit/lang/script.h"
#include "scriptkit/runtime/methods.h"
#include "shell/trigger_scripts.h"
#include "tests/support/sample_window.h"
#include "window/controlcommands.h"
#include "window/scriptrunner.h"
#include "window/tablecommands.h"

namespace {

struct P {
  explicit P(const std::string& s) {
    text[0] = static_cast<unsigned char>(s.size());
    s.copy(reinterpret_cast<char*>(text + 1), s.size());
  }
  operator const unsigned char*() const { return text; }
  unsigned char text[256];
};

void AppendSeparator(scriptkit::runtime::Object popup) {
  if (auto* button = dynamic_cast<scriptkit::model::PopUpButton*>(popup.get())) {
    button->menu()->add_separator();
  }
}

// The sample window with the component installed over it, for one benchmark.
struct Setup {
  Setup() {
    scriptkit::app::install_osa_component({window.app});
    scriptkit::runtime::registry().add(
        {"VeskaClass", "createSeparatorItem:", scriptkit::runtime::bind<&AppendSeparator>()});
    for (int i = 0; i < 20; ++i) window.files->data_source()->add_row();
  }
  ~Setup() { scriptkit::app::remove_osa_component(); }
  sample::SampleWindow window;
};

const P kMain("Main");
const P kPopUp("MAINWAP_ITEM_OPENWITHPOPUP");
const P kCheck("MAINWAP_ITEM_ALWAYSOPENWITH");

template <typename Command>
void RunCommand(benchmark::State& state, Command command) {
  Setup setup;
  for (auto _ : state) {
    if (command(setup) != noErr) state.SkipWithError("command failed");
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_SetCheckButtonState(benchmark::State& state) {
  RunCommand(state, [](Setup&) { return SetCheckButtonState(kCheck, kMain, true); });
}
void BM_Enable1Control(benchmark::State& state) {
  RunCommand(state, [](Setup&) { return Enable1Control(kCheck, kMain); });
}
void BM_SetTextFieldInBoxText(benchmark::State& state) {
  RunCommand(state, [](Setup&) {
    return SetTextFieldInBoxText(P("name"), kMain, P("info"), P("picture.tif"));
  });
}
void BM_AddRowToPopUpWithText(benchmark::State& state) {
  Setup setup;
  const P title("Adobe Photoshop 2024");
  for (auto _ : state) {
    if (AddRowToPopUpWithText(kPopUp, kMain, title, 0) != noErr) state.SkipWithError("failed");
    if (setup.window.open_with->menu()->item_count() >= 100) {
      state.PauseTiming();
      setup.window.open_with->menu()->remove_all();
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(state.iterations());
}
void BM_SetPopUpSelection(benchmark::State& state) {
  RunCommand(state, [](Setup& s) {
    if (s.window.open_with->menu()->item_count() == 0) {
      for (int i = 0; i < 5; ++i) s.window.open_with->menu()->add_item("row");
    }
    return SetPopUpSelection(kPopUp, kMain, 3);
  });
}
void BM_SetListRowColumnText(benchmark::State& state) {
  RunCommand(state, [](Setup&) {
    return SetListRowColumnText(P("files"), kMain, 7, P("name"), P("picture.tif"));
  });
}
void BM_SetListMultiSelectExtending(benchmark::State& state) {
  RunCommand(state, [](Setup&) { return SetListMultiSelectExtending("files", "Main", 2, 5); });
}
void BM_TriggerScript(benchmark::State& state) {
  bool widen = true;
  RunCommand(state, [&](Setup&) {
    widen = !widen;
    return SimpleRunAppleScript(widen ? kWidenTriggerScript : kNarrowTriggerScript);
  });
}

// Compiling alone, to tell its share from running.
void BM_CompileOnly(benchmark::State& state) {
  const char* text =
      "tell window \"Main\"\nmake new menu item at the end of menu items of menu of popup button "
      "\"MAINWAP_ITEM_OPENWITHPOPUP\" with properties {title:\"Adobe Photoshop 2024\", "
      "enabled:true}\nend tell";
  for (auto _ : state) benchmark::DoNotOptimize(scriptkit::lang::Script::compile(text));
}

// What filling the open-with pop-up costs: empty it, 50 application rows,
// two separators, "Other…", and the selection: 54 commands.
void BM_FillOpenWithPopUp(benchmark::State& state) {
  Setup setup;
  std::vector<P> names;
  for (int i = 0; i < 50; ++i) names.emplace_back("Application number " + std::to_string(i));
  const P other("Other\xC9");
  for (auto _ : state) {
    MyEmptyPopUp(kPopUp, kMain);
    AddRowToPopUpWithText(kPopUp, kMain, names[0], 0);
    AddSeparatorRow(kPopUp, kMain);
    for (int i = 1; i < 50; ++i) AddRowToPopUpWithText(kPopUp, kMain, names[i], 0);
    AddSeparatorRow(kPopUp, kMain);
    AddRowToPopUpWithText(kPopUp, kMain, other, 0);
    if (SetPopUpSelection(kPopUp, kMain, 0) != noErr) state.SkipWithError("fill failed");
  }
  if (setup.window.open_with->menu()->item_count() != 53) state.SkipWithError("wrong rows");
  state.SetItemsProcessed(state.iterations() * 54);
}

}  // namespace

BENCHMARK(BM_SetCheckButtonState);
BENCHMARK(BM_Enable1Control);
BENCHMARK(BM_SetTextFieldInBoxText);
BENCHMARK(BM_AddRowToPopUpWithText);
BENCHMARK(BM_SetPopUpSelection);
BENCHMARK(BM_SetListRowColumnText);
BENCHMARK(BM_SetListMultiSelectExtending);
BENCHMARK(BM_TriggerScript);
BENCHMARK(BM_CompileOnly);
BENCHMARK(BM_FillOpenWithPopUp)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
