// The open-with pop-up against the real window model, through the real
// scripting component, with real desktop entries in a sandbox.
#include "openwith/popup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "openwith/launch.h"
#include "platform/text.h"
#include "prefs/fileutils.h"
#include "prefs/prefs.h"
#include "prefs/userprefs.h"
#include "scriptkit/app/osa_component.h"
#include "scriptkit/model/controls.h"
#include "scriptkit/model/popup.h"
#include "scriptkit/runtime/methods.h"
#include "shell/records.h"
#include "tests/support/answering_chooser.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/packed.h"
#include "tests/support/sandbox.h"

using testing_support::packed;

namespace fs = std::filesystem;
using namespace scriptkit;
using testing_support::AnsweringChooser;
using testing_support::DesktopSandbox;
using testing_support::RecordingAlerts;
using testing_support::spec_of;
using testing_support::TempDir;

namespace {

class OpenWithPopUp : public ::testing::Test {
 protected:
  void SetUp() override {
    G_INFO = {};
    G_USERPREFS = {};
    G_ALWAYSOPENWITH = false;
    G_LASTOPENWITHSELECTEDROW = 0;
    main = app->add_window("Main");
    popup = main->add<model::PopUpButton>("MAINWAP_ITEM_OPENWITHPOPUP");
    check = std::make_shared<model::Button>("MAINWAP_ITEM_ALWAYSOPENWITH",
                                            model::Button::Style::CheckBox);
    main->add(check);
    runtime::registry().add(ask_program_methods);
    app::install_osa_component({app, {}, lang::kDefaultStepBudget});
  }
  void TearDown() override { app::remove_osa_component(); }

  // The picture's default application, as the picture pass leaves it.
  void SetDefault(const std::string& display_name, const fs::path& entry) {
    G_INFO.creatorUnknown = false;
    CopyCStringToPascal(platform::utf8_to_mac_roman_lossy(display_name).c_str(),
                        G_INFO.creatorAppName);
    G_INFO.creatorAppSpec = spec_of(entry);
  }

  fs::path AddApp(const std::string& id, const std::string& name) {
    return desktop.add_application(id, name, "true %f", "image/png;");
  }

  void AddToList(const fs::path& entry) {
    G_USERPREFS.postAppList[G_USERPREFS.postAppCount++] = spec_of(entry);
  }

  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < popup->menu()->item_count(); ++i) {
      auto item = popup->menu()->item(i);
      rows.push_back(item->separator() ? "---" : item->title());
    }
    return rows;
  }

  std::size_t Current() const { return popup->current_index(); }  // 1-based
  std::string AppName() const { return testing_support::name_of(G_USERPREFS.openWithAppSpec); }

  DesktopSandbox desktop;
  TempDir docs;
  RecordingAlerts alerts;
  AnsweringChooser chooser;
  std::shared_ptr<model::Application> app = std::make_shared<model::Application>();
  std::shared_ptr<model::Window> main;
  std::shared_ptr<model::PopUpButton> popup;
  std::shared_ptr<model::Button> check;
};

}  // namespace

TEST_F(OpenWithPopUp, EmptyListShowsDefaultSeparatorAndOther) {
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  LoadOpenWithListPopUp();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Viewer (Default)", "---", "Other…"}));
  SetInitialOpenWithPopUpStatus();
  EXPECT_EQ(Current(), 1u);
  EXPECT_TRUE(check->visible());
  EXPECT_FALSE(check->enabled());
  EXPECT_EQ(AppName(), "viewer.desktop");
}

TEST_F(OpenWithPopUp, UnknownCreatorRow) {
  G_INFO.creatorUnknown = true;
  LoadOpenWithListPopUp();
  EXPECT_EQ(Rows().front(), "<Unknown Creator>");
}

TEST_F(OpenWithPopUp, ListedApplicationsFollowTheDefault) {
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  AddToList(AddApp("gimp-like", "Image Manipulator"));
  AddToList(AddApp("krita-like", "Painter"));
  LoadOpenWithListPopUp();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Viewer (Default)", "---", "Image Manipulator",
                                              "Painter", "---", "Other…"}));
}

TEST_F(OpenWithPopUp, GoneApplicationsArePruned) {
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  fs::path a = AddApp("a", "A"), b = AddApp("b", "B"), c = AddApp("c", "C");
  AddToList(a);
  AddToList(b);
  AddToList(c);
  fs::remove(a);
  fs::remove(c);
  LoadOpenWithListPopUp();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Viewer (Default)", "---", "B", "---", "Other…"}));
  EXPECT_EQ(G_USERPREFS.postAppCount, 1);
  fs::remove(b);
  LoadOpenWithListPopUp();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Viewer (Default)", "---", "---", "Other…"}));
  EXPECT_EQ(G_USERPREFS.postAppCount, 0);
}

TEST_F(OpenWithPopUp, ALongDefaultNameIsShortenedToFitItsRow) {
  fs::path entry = AddApp("long", "L");
  SetDefault("", entry);
  std::string name(250, 'n');
  CopyCStringToPascal(name.c_str(), G_INFO.creatorAppName);
  // The row title is longer than a pop-up command can carry: it is shortened
  // to fit, so that the rows below keep their places.
  LoadOpenWithListPopUp();
  EXPECT_EQ(Rows(), (std::vector<std::string>{std::string(89, 'n') + "…", "---", "Other…"}));
}

TEST_F(OpenWithPopUp, OtherPicksAnApplicationAndKeepsIt) {
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  fs::path painter = AddApp("painter", "Painter");
  LoadOpenWithListPopUp();
  SetInitialOpenWithPopUpStatus();
  chooser.answer = painter.string();
  HandleOpenWithPopUpSelection(2, 3);
  EXPECT_EQ(chooser.asked, 1);
  EXPECT_EQ(G_USERPREFS.postAppCount, 1);
  EXPECT_EQ(AppName(), "painter.desktop");
  EXPECT_EQ(packed(G_USERPREFS.openWithAppInfo.fdType), FOUR_CHAR_CODE("APPL"));
  EXPECT_EQ(Rows(),
            (std::vector<std::string>{"Viewer (Default)", "---", "Painter", "---", "Other…"}));
  EXPECT_EQ(Current(), 3u);
  EXPECT_TRUE(check->enabled());
}

TEST_F(OpenWithPopUp, CancelledOtherGoesBackToTheRecordedRow) {
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  AddToList(AddApp("painter", "Painter"));
  LoadOpenWithListPopUp();
  SetInitialOpenWithPopUpStatus();
  HandleOpenWithPopUpSelection(4, 5);  // cancelled before any row was recorded
  EXPECT_EQ(Current(), 1u);
  G_LASTOPENWITHSELECTEDROW = 65538;  // the low half, 2, is the row
  HandleOpenWithPopUpSelection(4, 5);
  EXPECT_EQ(Current(), 3u);
  EXPECT_EQ(G_USERPREFS.postAppCount, 1);
  EXPECT_EQ(AppName(), "viewer.desktop");
}

TEST_F(OpenWithPopUp, PickingANameThatIsListedReplacesItInPlace) {
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  AddToList(AddApp("first", "First"));
  AddToList(AddApp("painter", "Painter"));
  AddToList(AddApp("last", "Last"));
  // The same file name in another folder counts as the same application.
  fs::path other = docs.write("elsewhere/painter.desktop",
                              "[Desktop Entry]\nType=Application\nName=Painter 2\nExec=true %f\n");
  LoadOpenWithListPopUp();
  chooser.answer = other.string();
  HandleOpenWithPopUpSelection(6, 7);
  EXPECT_EQ(G_USERPREFS.postAppCount, 3);
  EXPECT_EQ(testing_support::name_of(G_USERPREFS.postAppList[1]), "painter.desktop");
  EXPECT_EQ(packed(G_USERPREFS.postAppList[1].parID), packed(spec_of(other).parID));
  EXPECT_EQ(Current(), 4u);
}

TEST_F(OpenWithPopUp, AFiftyFirstPickDropsTheOldest) {
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  for (int i = 0; i < 50; ++i)
    AddToList(AddApp("app" + std::to_string(i), "App " + std::to_string(i)));
  fs::path newest = AddApp("newest", "Newest");
  LoadOpenWithListPopUp();
  chooser.answer = newest.string();
  HandleOpenWithPopUpSelection(53, 54);
  EXPECT_EQ(G_USERPREFS.postAppCount, 50);
  EXPECT_EQ(testing_support::name_of(G_USERPREFS.postAppList[0]), "app1.desktop");
  EXPECT_EQ(testing_support::name_of(G_USERPREFS.postAppList[49]), "newest.desktop");
  std::vector<std::string> rows = Rows();
  ASSERT_EQ(rows.size(), 54u);
  EXPECT_EQ(rows[51], "Newest");
  EXPECT_EQ(rows[2], "App 1");
  EXPECT_EQ(Current(), 52u);
}

TEST_F(OpenWithPopUp, DefaultRowClearsAndDisablesTheCheckBox) {
  fs::path viewer = AddApp("viewer", "Viewer");
  SetDefault("Viewer", viewer);
  fs::path painter = AddApp("painter", "Painter");
  AddToList(painter);
  LoadOpenWithListPopUp();
  HandleOpenWithPopUpSelection(2, 5);
  EXPECT_EQ(AppName(), "painter.desktop");
  EXPECT_TRUE(check->enabled());
  check->set_state(1);
  G_ALWAYSOPENWITH = true;
  HandleOpenWithPopUpSelection(0, 5);
  EXPECT_EQ(AppName(), "viewer.desktop");
  EXPECT_FALSE(check->enabled());
  EXPECT_TRUE(check->visible());
  EXPECT_EQ(check->state(), 0);
  EXPECT_FALSE(G_ALWAYSOPENWITH);
}

TEST_F(OpenWithPopUp, SeparatorRowsChangeNothing) {
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  AddToList(AddApp("painter", "Painter"));
  LoadOpenWithListPopUp();
  SetInitialOpenWithPopUpStatus();
  HandleOpenWithPopUpSelection(1, 5);
  HandleOpenWithPopUpSelection(3, 5);
  EXPECT_EQ(AppName(), "viewer.desktop");
}

TEST_F(OpenWithPopUp, AlwaysOpenWithKeepsTheApplicationForTheNextPicture) {
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  AddToList(AddApp("painter", "Painter"));
  LoadOpenWithListPopUp();
  HandleOpenWithPopUpSelection(2, 5);
  G_ALWAYSOPENWITH = true;
  // The next picture has another default application.
  SetDefault("Other Viewer", AddApp("other", "Other Viewer"));
  LoadOpenWithListPopUp();
  SetInitialOpenWithPopUpStatus();
  EXPECT_EQ(AppName(), "painter.desktop");
  EXPECT_EQ(check->state(), 1);
  EXPECT_EQ(Current(), 3u);
}

TEST_F(OpenWithPopUp, ADamagedCountNeverReadsPastTheList) {
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  G_USERPREFS.postAppCount = 300;
  G_USERPREFS.openWithAppSpec = spec_of(AddApp("painter", "Painter"));
  SetPostAppListPopUpSelection();
  UpdatePostAppList();
  // The pick takes the last of the 50 slots; the rebuild then prunes the
  // empty ones in front of it.
  EXPECT_EQ(G_USERPREFS.postAppCount, 1);
  EXPECT_EQ(testing_support::name_of(G_USERPREFS.postAppList[0]), "painter.desktop");
}

namespace {

// What a launched application wrote: its name and the picture, a line each.
std::string WaitForLaunch(const fs::path& marker) {
  for (int i = 0; i < 300 && !fs::exists(marker); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::string text = testing_support::read_file(marker);
  fs::remove(marker);
  return text;
}

}  // namespace

// Two applications picked with "Other…" (a desktop entry of the user's and a
// program on $PATH) and saved at quit. Before the next launch the cache is
// cleared; before the one after, the catalog of folders is lost as well. Each
// time the pop-up lists both and Open launches each.
TEST_F(OpenWithPopUp, PickedApplicationsSurviveAClearedCacheAndALostCatalog) {
  fs::path picture = docs.write("Job/cover.png", "x");
  fs::path marker = docs.path() / "launched";
  testing_support::EnvVar search_path("PATH", (docs.path() / "bin").string() + ":/usr/bin:/bin");
  if (const char* home = std::getenv("TAVRINE_TEST_HOME")) {
    // A later launch, in the first one's folders.
    fs::path root = home;
    testing_support::EnvVar config("XDG_CONFIG_HOME", (root / "config").string());
    testing_support::EnvVar cache("XDG_CACHE_HOME", (root / "cache").string());
    testing_support::EnvVar state("XDG_STATE_HOME", (root / "state").string());
    testing_support::EnvVar data("XDG_DATA_HOME", (root / "data").string());
    testing_support::EnvVar search_there(
        "PATH", std::string(std::getenv("TAVRINE_TEST_BIN")) + ":/usr/bin:/bin");
    picture = std::getenv("TAVRINE_TEST_PICTURE");
    marker = std::getenv("TAVRINE_TEST_MARKER");
    GetPreferences();
    SetDefault("Viewer", root / "data" / "applications" / "viewer.desktop");
    LoadOpenWithListPopUp();
    ASSERT_EQ(Rows(), (std::vector<std::string>{"Viewer (Default)", "---", "Painter", "resizer",
                                                "---", "Other…"}));
    FSSpec pictureSpec = spec_of(picture);
    HandleOpenWithPopUpSelection(2, 6);
    MyLaunchApplication(G_USERPREFS.openWithAppSpec, pictureSpec);
    EXPECT_EQ(WaitForLaunch(marker), "painter\n" + picture.string() + "\n");
    HandleOpenWithPopUpSelection(3, 6);
    MyLaunchApplication(G_USERPREFS.openWithAppSpec, pictureSpec);
    EXPECT_EQ(WaitForLaunch(marker), "resizer\n" + picture.string() + "\n");
    EXPECT_EQ(alerts.beeps, 0);
    return;
  }
  fs::path recorder = desktop.marker_program(marker);
  SetDefault("Viewer", AddApp("viewer", "Viewer"));
  fs::path painter = desktop.add_application("painter", "Painter",
                                             recorder.string() + " painter %f", "image/png;");
  fs::path resizer =
      docs.write("bin/resizer", "#!/bin/sh\nexec '" + recorder.string() + "' resizer \"$@\"\n");
  fs::permissions(resizer, fs::perms::owner_all);
  LoadOpenWithListPopUp();
  for (const fs::path& pick : {painter, resizer}) {
    chooser.answer = pick.string();
    HandleOpenWithPopUpSelection(static_cast<SInt16>(Rows().size() - 1),
                                 static_cast<SInt16>(Rows().size()));
  }
  ASSERT_EQ(G_USERPREFS.postAppCount, 2);
  SaveUserPrefs();
  auto later_launch = [&] {
    return testing_support::run_in_new_process(
        "OpenWithPopUp.PickedApplicationsSurviveAClearedCacheAndALostCatalog",
        {{"TAVRINE_TEST_HOME", desktop.root().string()},
         {"TAVRINE_TEST_BIN", (docs.path() / "bin").string()},
         {"TAVRINE_TEST_PICTURE", picture.string()},
         {"TAVRINE_TEST_MARKER", marker.string()}});
  };
  fs::remove_all(desktop.root() / "cache");
  EXPECT_EQ(later_launch(), 0);
  fs::remove_all(desktop.root() / "cache");
  fs::remove_all(desktop.root() / "state" / "tavrine");
  EXPECT_EQ(later_launch(), 0);
}
