// What the user's choices in the window do, through the real native side: the
// size in the chosen units, the preferences kept, the picture opened in an
// application, a folder shown by a file manager on a private bus.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <thread>

#include <QElapsedTimer>

#include "platform/process.h"
#include "tests/support/answering_chooser.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/private_bus.h"
#include "tests/support/window_fixture.h"

using namespace window_test;
namespace fs = std::filesystem;

namespace {

using WindowEffects = RunningWindow;

std::string contents_of(const std::shared_ptr<TextField>& field) {
  return field->contents();
}

// The preferences file, as the native side saved it.
std::string preferences_bytes(const fs::path& config_home) {
  return testing_support::read_file(config_home / "VeskaSoftware" /
                                    "Veska Tavrine Pro for ID Prefs");
}

std::int32_t dimension_units_saved(const fs::path& config_home) {
  std::string bytes = preferences_bytes(config_home);
  if (bytes.size() != 3696) return -1000;
  auto at = [&](int i) { return std::uint32_t(std::uint8_t(bytes[3660 + i])) << (8 * i); };
  return std::int32_t(at(0) | at(1) | at(2) | at(3));
}

TEST_F(WindowEffects, TheSizeShowsInTheUnitsChosen) {
  framework->launched();
  framework->open({picture});
  auto dimensions = element<TextField>("text field", "dimensions");
  EXPECT_EQ(contents_of(dimensions), "72 x 36 px");
  choose("unitsPopUp", "Millimetres");
  EXPECT_EQ(contents_of(dimensions), "25.4 x 12.7 mm");
  EXPECT_EQ(dimension_units_saved(sandbox.config_home()), 3) << "saved on the change";
  choose("unitsPopUp", "Inches");
  EXPECT_EQ(contents_of(dimensions), "1” x 0.5”");
  choose("unitsPopUp", "Document units");
  choose("docHorizontalUnitsPopUp", "Picas");
  choose("docVerticalUnitsPopUp", "Points");
  EXPECT_EQ(contents_of(dimensions), "6p x 36 pt");
  EXPECT_EQ(dimension_units_saved(sandbox.config_home()), 0);
  choose("unitsPopUp", "Pixels");
  EXPECT_EQ(contents_of(dimensions), "72 x 36 px");

  // The next picture comes in the units last chosen, also after a restart.
  choose("unitsPopUp", "Centimetres");
  stop();
  start();
  framework->launched();
  framework->open({picture});
  EXPECT_EQ(contents_of(element<TextField>("text field", "dimensions")), "2.54 x 1.27 cm");
}

// The rows of a pop-up as the window shows them, separators left out.
std::vector<std::string> row_titles(const std::shared_ptr<PopUpButton>& popup) {
  std::vector<std::string> titles;
  for (std::size_t i = 0; i < popup->menu()->item_count(); ++i) {
    if (!popup->menu()->item(i)->separator()) titles.push_back(popup->menu()->item(i)->title());
  }
  return titles;
}

// The unit names are the window script's, their codes the script's and the
// native side's: every row the pop-ups offer shows the 72 by 36 pixel picture
// in the unit it names.
TEST_F(WindowEffects, EveryUnitOfferedShowsTheSizeInThatUnit) {
  const std::map<std::string, std::string> both_axes = {{"Pixels", "72 x 36 px"},
                                                        {"Document units", "25.4 mm x 12.7 mm"},
                                                        {"Inches", "1” x 0.5”"},
                                                        {"Millimetres", "25.4 x 12.7 mm"},
                                                        {"Centimetres", "2.54 x 1.27 cm"},
                                                        {"Points", "72 x 36 pt"},
                                                        {"Picas", "6p x 3p"}};
  const std::map<std::string, std::pair<std::string, std::string>> per_axis = {
      {"Inches", {"1”", "0.5”"}},
      {"Millimetres", {"25.4 mm", "12.7 mm"}},
      {"Centimetres", {"2.54 cm", "1.27 cm"}},
      {"Points", {"72 pt", "36 pt"}},
      {"Picas", {"6p", "3p"}}};
  framework->launched();
  framework->open({picture});
  auto dimensions = element<TextField>("text field", "dimensions");

  auto units = row_titles(element<PopUpButton>("popup button", "unitsPopUp"));
  ASSERT_EQ(units.size(), both_axes.size());
  for (const auto& unit : units) {
    choose("unitsPopUp", unit);
    EXPECT_EQ(contents_of(dimensions), both_axes.at(unit)) << unit;
  }

  choose("unitsPopUp", "Document units");
  for (bool horizontal : {true, false}) {
    const char* popup = horizontal ? "docHorizontalUnitsPopUp" : "docVerticalUnitsPopUp";
    auto document_units = row_titles(element<PopUpButton>("popup button", popup));
    ASSERT_EQ(document_units.size(), per_axis.size()) << popup;
    for (const auto& unit : document_units) {
      choose(popup, unit);
      const auto& [width, height] = per_axis.at(unit);
      std::string shown = contents_of(dimensions);
      std::size_t by = shown.find(" x ");
      EXPECT_EQ(horizontal ? shown.substr(0, by) : shown.substr(by + 3),
                horizontal ? width : height)
          << popup << " " << unit;
    }
  }
}

TEST_F(WindowEffects, OpenLaunchesThePictureInTheChosenApplication) {
  fs::path marker = sandbox.root() / "launched";
  sandbox.add_application("viewer", "Picture Viewer",
                          sandbox.marker_program(marker).string() + " %f", "image/png;");
  sandbox.set_default("image/png", "viewer");
  framework->launched();
  framework->open({picture});
  auto popup = element<PopUpButton>("popup button", "MAINWAP_ITEM_OPENWITHPOPUP");
  EXPECT_EQ(popup->current_item()->title(), "Picture Viewer (Default)");
  EXPECT_EQ(contents_of(element<TextField>("text field", "applicationPath")),
            (sandbox.data_home() / "applications" / "viewer.desktop").string());
  click("openButton");
  for (int i = 0; i < 500 && !fs::exists(marker); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::ifstream in(marker);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, picture);
}

TEST_F(WindowEffects, OtherAddsThePickedApplicationAndKeepsIt) {
  fs::path editor = sandbox.add_application("editor", "Picture Editor", "true %f", "image/png;");
  testing_support::AnsweringChooser chooser;
  chooser.answer = editor.string();
  framework->launched();
  framework->open({picture});
  auto popup = element<PopUpButton>("popup button", "MAINWAP_ITEM_OPENWITHPOPUP");
  choose("MAINWAP_ITEM_OPENWITHPOPUP", "Other…");
  EXPECT_EQ(chooser.asked, 1);
  EXPECT_EQ(popup->current_item()->title(), "Picture Editor");
  EXPECT_TRUE(element<Button>("button", "MAINWAP_ITEM_ALWAYSOPENWITH")->enabled());

  // Always open with it: the next picture keeps the editor.
  click("MAINWAP_ITEM_ALWAYSOPENWITH");
  framework->open({picture});
  EXPECT_EQ(popup->current_item()->title(), "Picture Editor");
  EXPECT_EQ(element<Button>("button", "MAINWAP_ITEM_ALWAYSOPENWITH")->state(), Button::kOn);

  // The list of applications picked before survives a restart.
  stop();
  start();
  framework->launched();
  framework->open({picture});
  popup = element<PopUpButton>("popup button", "MAINWAP_ITEM_OPENWITHPOPUP");
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < popup->menu()->item_count(); ++i) {
    auto item = popup->menu()->item(i);
    rows.push_back(item->separator() ? "----" : item->title());
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"<Unknown Creator>", "----", "Picture Editor", "----",
                                            "Other…"}));
}

// Runs the window's event loop until the file manager has answered every
// reveal.
bool answers_arrive() {
  QElapsedTimer clock;
  clock.start();
  while (platform::file_manager_requests_in_flight() > 0 && clock.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return platform::file_manager_requests_in_flight() == 0;
}

TEST_F(WindowEffects, RevealShowsTheFolderChosen) {
  testing_support::PrivateBus bus(sandbox.root(), {});
  bus.start_file_manager();
  framework->launched();
  framework->open({picture});
  choose("revealPopUp", "Jobs");
  click("revealButton");
  ASSERT_TRUE(answers_arrive());
  ASSERT_EQ(bus.calls().size(), 1u);
  EXPECT_NE(bus.calls()[0].find("|file://" + (sandbox.root() / "Jobs").string()), std::string::npos)
      << bus.calls()[0];
  choose("revealPopUp", "Spring");
  click("revealButton");
  ASSERT_TRUE(answers_arrive());
  ASSERT_EQ(bus.calls().size(), 2u);
  EXPECT_NE(bus.calls()[1].find("|file://" + (sandbox.root() / "Jobs" / "Spring").string()),
            std::string::npos);
}

// A file manager that takes its time, then refuses: the window goes on with
// the next click at once, and each refusal beeps once when it comes.
TEST_F(WindowEffects, RevealNeverHoldsUpTheWindow) {
  testing_support::PrivateBus bus(sandbox.root(),
                                  {.failing_file_manager = true, .answer_after_ms = 1000});
  bus.start_file_manager();
  testing_support::RecordingAlerts alerts;
  framework->launched();
  framework->open({picture});
  choose("revealPopUp", "Jobs");
  click("revealButton");
  EXPECT_EQ(platform::file_manager_requests_in_flight(), 1);
  choose("revealPopUp", "Spring");
  click("revealButton");
  EXPECT_EQ(platform::file_manager_requests_in_flight(), 2);
  EXPECT_EQ(alerts.beeps, 0);
  ASSERT_TRUE(answers_arrive());
  EXPECT_EQ(bus.calls().size(), 2u);
  EXPECT_EQ(alerts.beeps, 2);
}

}  // namespace
