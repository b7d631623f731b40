// The window script's flow: which native operations it calls, with what, and
// in which order, for each event.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <functional>
#include <optional>

#include "platform/nav.h"
#include "shell/trigger_scripts.h"
#include "tests/support/window_fixture.h"
#include "window/scriptrunner.h"

using namespace window_test;

namespace {

using WindowScript = RunningWindow;

std::vector<std::string> picture_road(const std::string& path, std::vector<std::string> units) {
  std::vector<std::string> road = {
      "__SetStringValueToCGlobal:withValue: 0 \"" + path + "\"",
      "__GetPictureInfo",
      "__GetStringValueFromCGlobal: 1",
      "__GetStringValueFromCGlobal: 2",
      "__GetStringValueFromCGlobal: 6",
      "__LoadOpenWithListPopUp",
      "__SetInitialOpenWithPopUpStatus",
  };
  auto last_row = "__UpdateLastOpenWithSelectedRowGlobal:";
  road.push_back(last_row);  // its row depends on the pop-up; compared apart
  road.insert(road.end(), units.begin(), units.end());
  road.push_back("DisplayIcon:which: pictureIcon 0");
  road.push_back("DisplayIcon:which: openWithIcon 1");
  return road;
}

// The calls, with the row recorded after the open-with pop-up was filled cut
// down to the selector, since the native side chooses that row.
std::vector<std::string> without_row(std::vector<std::string> calls) {
  for (auto& call : calls) {
    if (call.rfind("__UpdateLastOpenWithSelectedRowGlobal:", 0) == 0) {
      call = "__UpdateLastOpenWithSelectedRowGlobal:";
    }
  }
  return calls;
}

TEST_F(WindowScript, LaunchReadsThePreferencesThenStartsTheMonitor) {
  framework->launched();
  EXPECT_EQ(take_calls(), (std::vector<std::string>{
                              "__GetPreferences",
                              "__InstallEventHandlers",
                              "__SetIntValueToCGlobal:withValue: 4 1",
                              "__SetIntValueToCGlobal:withValue: 5 1",
                          }));
  EXPECT_EQ(printed.substr(0, 12), "== launched\n");
}

TEST_F(WindowScript, APictureTakesTheRoadTheNativeSideExpects) {
  framework->launched();
  take_calls();
  framework->open({picture, "/ignored/second.tif"});
  EXPECT_EQ(without_row(take_calls()),
            picture_road(picture, {"__SetIntValueToCGlobal:withValue: 4 1",
                                   "__SetIntValueToCGlobal:withValue: 5 1"}));
  EXPECT_EQ(element<TextField>("text field", "pictureName")->contents(), "cover.png");
  EXPECT_EQ(element<TextField>("text field", "pictureFolder")->contents(),
            (sandbox.root() / "Jobs" / "Spring").string());
  EXPECT_TRUE(element<Button>("button", "openButton")->enabled());

  // One row for each folder of the path, the picture's own first.
  auto reveal = element<PopUpButton>("popup button", "revealPopUp");
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < reveal->menu()->item_count(); ++i) {
    rows.push_back(reveal->menu()->item(i)->title());
  }
  ASSERT_GE(rows.size(), 4u);
  EXPECT_EQ(rows[0], "Spring");
  EXPECT_EQ(rows[1], "Jobs");
  EXPECT_EQ(rows.back(), "/");
  EXPECT_EQ(std::count(picture.begin(), picture.end(), '/'), std::ptrdiff_t(rows.size()));
}

TEST_F(WindowScript, AChangeOfUnitsIsHandedOnAndKept) {
  framework->launched();
  framework->open({picture});
  take_calls();
  choose("unitsPopUp", "Millimetres");
  EXPECT_EQ(take_calls(), (std::vector<std::string>{
                              "__SetIntValueToCGlobal:withValue: 3 3",
                              "__SetIntValueToCGlobal:withValue: 4 1",
                              "__SetIntValueToCGlobal:withValue: 5 1",
                              "__HandleDimensionsUnitsChange",
                              "__GetStringValueFromCGlobal: 2",
                              "__SavePreferences",
                          }));
  EXPECT_FALSE(element<PopUpButton>("popup button", "docHorizontalUnitsPopUp")->enabled());
  choose("unitsPopUp", "Document units");
  EXPECT_TRUE(element<PopUpButton>("popup button", "docHorizontalUnitsPopUp")->enabled());
  take_calls();
  choose("docHorizontalUnitsPopUp", "Picas");
  EXPECT_EQ(take_calls(), (std::vector<std::string>{
                              "__SetIntValueToCGlobal:withValue: 3 0",
                              "__SetIntValueToCGlobal:withValue: 4 3",
                              "__SetIntValueToCGlobal:withValue: 5 1",
                              "__HandleDimensionsUnitsChange",
                              "__GetStringValueFromCGlobal: 2",
                              "__SavePreferences",
                          }));

  // The next run starts with the units chosen.
  stop();
  start();
  framework->launched();
  EXPECT_EQ(take_calls(), (std::vector<std::string>{
                              "__GetPreferences",
                              "__InstallEventHandlers",
                              "__SetIntValueToCGlobal:withValue: 3 0",
                              "__SetIntValueToCGlobal:withValue: 4 3",
                              "__SetIntValueToCGlobal:withValue: 5 1",
                          }));
  EXPECT_EQ(element<PopUpButton>("popup button", "unitsPopUp")->current_item()->title(),
            "Document units");
}

TEST_F(WindowScript, AnOpenWithChoiceRecordsTheRowItLeaves) {
  framework->launched();
  framework->open({picture});
  auto popup = element<PopUpButton>("popup button", "MAINWAP_ITEM_OPENWITHPOPUP");
  ASSERT_GE(popup->menu()->item_count(), 3u) << "default row, separator, Other…";
  take_calls();
  const auto rows = popup->menu()->item_count();
  choose("MAINWAP_ITEM_OPENWITHPOPUP", popup->menu()->item(0)->title());
  EXPECT_EQ(take_calls(), (std::vector<std::string>{
                              "__HandleOpenWithPopUpSelection:withValue: 0 " + std::to_string(rows),
                              "__UpdateLastOpenWithSelectedRowGlobal: 0",
                              "DisplayIcon:which: openWithIcon 1",
                              "__SavePreferences",
                          }));
  // "Other…" cancelled (no chooser answers in a test): the row chosen before
  // comes back, and that row, not "Other…", is recorded.
  choose("MAINWAP_ITEM_OPENWITHPOPUP", popup->menu()->item(rows - 1)->title());
  auto calls = take_calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0], "__HandleOpenWithPopUpSelection:withValue: " + std::to_string(rows - 1) +
                          " " + std::to_string(rows));
  EXPECT_EQ(calls[1], "__UpdateLastOpenWithSelectedRowGlobal: 0");
  EXPECT_EQ(popup->current_index(), 1u);
}

TEST_F(WindowScript, ButtonsLaunchRevealAndFollowTheCheckBox) {
  framework->launched();
  framework->open({picture});
  take_calls();
  choose("revealPopUp", "Jobs");
  take_calls();
  click("revealButton");
  const auto slashes = std::count(picture.begin(), picture.end(), '/');
  EXPECT_EQ(take_calls(), (std::vector<std::string>{
                              "__SetStringValueToCGlobal:withValue: 0 \"" + picture + "\"",
                              "__HandleRevealFolder:withValue: 1 " + std::to_string(slashes),
                          }));
  element<Button>("button", "MAINWAP_ITEM_ALWAYSOPENWITH")->set_enabled(true);
  click("MAINWAP_ITEM_ALWAYSOPENWITH");
  EXPECT_EQ(take_calls(), (std::vector<std::string>{"__UpdateAlwaysOpenWithGlobal: 1"}));
}

TEST_F(WindowScript, QuittingSavesThePreferences) {
  framework->launched();
  take_calls();
  framework->will_quit();
  framework->will_quit();  // once only
  EXPECT_EQ(take_calls(), (std::vector<std::string>{"__SavePreferences"}));
}

TEST_F(WindowScript, TheTriggerRefreshesThePictureAndBringsTheWindowForward) {
  framework->launched();
  framework->open({picture});
  view->show();
  take_calls();
  auto trigger = element<Button>("button", "Trigger");
  const Bounds before = trigger->bounds();
  ASSERT_EQ(SimpleRunAppleScript(kWidenTriggerScript), 0);  // as the monitor runs it
  EXPECT_EQ(trigger->bounds().right, before.right + 1);
  EXPECT_TRUE(g_calls.empty()) << "the script hears of it once the monitor's run is done";
  QCoreApplication::processEvents();
  auto calls = without_row(take_calls());
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "activateIgnoringOtherApps: true");
  calls.pop_back();
  EXPECT_EQ(calls, picture_road(picture, {"__SetIntValueToCGlobal:withValue: 4 1",
                                          "__SetIntValueToCGlobal:withValue: 5 1"}));
  EXPECT_EQ(toolkit->activations, 1);
  EXPECT_EQ(printed.substr(0, 18), "== bounds changed\n");

  ASSERT_EQ(SimpleRunAppleScript(kNarrowTriggerScript), 0);  // the next counted double-click
  QCoreApplication::processEvents();
  EXPECT_EQ(trigger->bounds(), before);
  EXPECT_EQ(toolkit->activations, 2);
}

// A chooser that stays open while something else happens, run from the
// dialog's event loop: the user double-clicks in the layout program, or a
// second launch hands a picture over.
class ChooserOpenWhile final : public platform::ChooserBacking {
 public:
  explicit ChooserOpenWhile(std::function<void()> meanwhile) : m_meanwhile(std::move(meanwhile)) {}
  std::optional<std::string> choose_application(const std::string&, const std::string&,
                                                const std::string&) override {
    m_meanwhile();
    QCoreApplication::processEvents();
    calls_while_open = g_calls.size();
    return std::nullopt;
  }
  std::size_t calls_while_open = 0;

 private:
  std::function<void()> m_meanwhile;
  platform::ScopedBacking<platform::ChooserBacking> m_installed{this};
};

TEST_F(WindowScript, ATriggerWhileTheChooserIsOpenIsHeardOnceItCloses) {
  framework->launched();
  framework->open({picture});
  view->show();
  auto popup = element<PopUpButton>("popup button", "MAINWAP_ITEM_OPENWITHPOPUP");
  take_calls();
  ChooserOpenWhile chooser([] { EXPECT_EQ(SimpleRunAppleScript(kWidenTriggerScript), 0); });
  choose("MAINWAP_ITEM_OPENWITHPOPUP",
         popup->menu()->item(popup->menu()->item_count() - 1)->title());
  EXPECT_EQ(chooser.calls_while_open, 1u) << "only the choice itself, while the dialog is open";
  QCoreApplication::processEvents();
  auto calls = take_calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "activateIgnoringOtherApps: true");
  EXPECT_EQ(toolkit->activations, 1);
}

TEST_F(WindowScript, AHandOverWhileTheChooserIsOpenIsShownOnceItCloses) {
  framework->launched();
  framework->open({picture});
  auto popup = element<PopUpButton>("popup button", "MAINWAP_ITEM_OPENWITHPOPUP");
  const std::string other = (sandbox.root() / "Jobs" / "back.png").string();
  QImage(8, 8, QImage::Format_RGB32).save(QString::fromStdString(other));
  take_calls();
  ChooserOpenWhile chooser([&] { framework->open({other}); });
  choose("MAINWAP_ITEM_OPENWITHPOPUP",
         popup->menu()->item(popup->menu()->item_count() - 1)->title());
  EXPECT_EQ(chooser.calls_while_open, 1u) << "only the choice itself, while the dialog is open";
  auto calls = take_calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(),
                      "__SetStringValueToCGlobal:withValue: 0 \"" + other + "\""),
            calls.end());
}

}  // namespace
