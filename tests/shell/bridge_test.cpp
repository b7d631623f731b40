// The bridge as a script sees it: selectors called by name with script values.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/bundle.h"
#include "prefs/prefs.h"
#include "prefs/userprefs.h"
#include "scriptkit/runtime/methods.h"
#include "shell/records.h"
#include "tests/support/packed.h"
#include "tests/support/sandbox.h"

using scriptkit::Value;
using scriptkit::ValueList;
using scriptkit::runtime::registry;
using testing_support::packed;

namespace {

class Bridge : public ::testing::Test {
 protected:
  // Preferences and plug-ins are looked up in a sandbox, never in $HOME.
  testing_support::DesktopSandbox sandbox;

  void SetUp() override {
    registry().add(ask_program_methods);
    G_INFO = {};
    G_DOCSETTINGS = {};
    G_USERPREFS = {};
    G_ALWAYSOPENWITH = false;
    G_LASTOPENWITHSELECTEDROW = 0;
  }

  Value call(std::string_view selector, ValueList args = {},
             std::string_view receiver = scriptkit::runtime::kApplicationObject) {
    auto result = registry().call(receiver, selector, args);
    if (scriptkit::failed(result)) {
      last_error = std::get<scriptkit::ScriptError>(result);
      return Value();
    }
    return std::get<Value>(result);
  }

  std::string text_of(int index) {
    return call("__GetStringValueFromCGlobal:", {Value(index)}).as_text();
  }

  scriptkit::ScriptError last_error;
};

}  // namespace

TEST_F(Bridge, AlwaysOpenWithIsTrueOnlyForOne) {
  call("__UpdateAlwaysOpenWithGlobal:", {Value(1)});
  EXPECT_TRUE(G_ALWAYSOPENWITH);
  call("__UpdateAlwaysOpenWithGlobal:", {Value(2)});
  EXPECT_FALSE(G_ALWAYSOPENWITH);
  call("__UpdateAlwaysOpenWithGlobal:", {Value(1)});
  call("__UpdateAlwaysOpenWithGlobal:", {Value(0)});
  EXPECT_FALSE(G_ALWAYSOPENWITH);
  call("__UpdateAlwaysOpenWithGlobal:", {Value(1)});
  call("__UpdateAlwaysOpenWithGlobal:", {Value(-1)});
  EXPECT_FALSE(G_ALWAYSOPENWITH);
}

TEST_F(Bridge, LastSelectedRowKeepsAll32Bits) {
  call("__UpdateLastOpenWithSelectedRowGlobal:", {Value(70000)});
  EXPECT_EQ(call("__GetLastOpenWithSelectedRowGlobal").as_integer(), 70000);
  call("__UpdateLastOpenWithSelectedRowGlobal:", {Value(65538)});
  EXPECT_EQ(G_LASTOPENWITHSELECTEDROW, 65538);
  EXPECT_EQ(static_cast<SInt16>(G_LASTOPENWITHSELECTEDROW), 2);
}

TEST_F(Bridge, GetPreferencesClearsTheFlagsButNotTheRow) {
  call("__UpdateAlwaysOpenWithGlobal:", {Value(1)});
  call("__UpdateLastOpenWithSelectedRowGlobal:", {Value(5)});
  G_TRIGGERBUTTONWASEXPANDED = true;
  G_DOCSETTINGS.docHorizontalUnits = 7;
  CopyCStringToPascal("/kept", G_INFO.picturePath);
  call("__GetPreferences");
  EXPECT_FALSE(G_ALWAYSOPENWITH);
  EXPECT_FALSE(G_TRIGGERBUTTONWASEXPANDED);
  EXPECT_EQ(G_LASTOPENWITHSELECTEDROW, 5);
  EXPECT_EQ(G_DOCSETTINGS.docHorizontalUnits, 7);
  EXPECT_EQ(G_INFO.picturePath[0], 5);
}

TEST_F(Bridge, UnknownSelectorDoesNotUnderstand) {
  call("__NoSuchOperation");
  EXPECT_EQ(last_error.number, -1708);
  EXPECT_NE(last_error.message.find("__NoSuchOperation"), std::string::npos);
  last_error = {};
  call("touchBundleDate");  // a class operation, not the application object's
  EXPECT_EQ(last_error.number, -1708);
}

TEST_F(Bridge, WrongArgumentTypesCannotBeMade) {
  call("__UpdateLastOpenWithSelectedRowGlobal:", {Value(ValueList{Value(1)})});
  EXPECT_EQ(last_error.number, -1700);
  last_error = {};
  call("__UpdateLastOpenWithSelectedRowGlobal:", {Value("12")});
  EXPECT_EQ(last_error.number, 0);
  EXPECT_EQ(G_LASTOPENWITHSELECTEDROW, 12);
}

TEST_F(Bridge, SharedStringsBeforeAnyPictureAreEmpty) {
  for (int index : {0, 1, 2, 6}) EXPECT_EQ(text_of(index), "") << index;
  EXPECT_EQ(G_INFO.pixelWidth, 0);
  EXPECT_EQ(G_INFO.pixelHeight, 0);
}

TEST_F(Bridge, PicturePathIsStoredInMacRoman) {
  call("__SetStringValueToCGlobal:withValue:", {Value(0), Value("/Users/me/Café/pic.tif")});
  const char expected[] = "/Users/me/Caf\x8E/pic.tif";
  ASSERT_EQ(G_INFO.picturePath[0], std::strlen(expected));
  EXPECT_EQ(std::memcmp(G_INFO.picturePath + 1, expected, std::strlen(expected)), 0);
  EXPECT_EQ(text_of(0), "/Users/me/Café/pic.tif");
}

TEST_F(Bridge, PathWithoutMacRomanFormStoresTheNearestText) {
  call("__SetStringValueToCGlobal:withValue:", {Value(0), Value("/tmp/Łódź.jpg")});
  EXPECT_EQ(text_of(0), "/tmp/?ódz.jpg");
}

TEST_F(Bridge, APathOfAnExistingPictureBeyondMacRomanReadsBackWhole) {
  // Its components are shortened to fit the short text, and it reads back as
  // the script wrote it.
  std::filesystem::path folder = sandbox.root() / "Изображения" / std::string(200, 'f');
  std::filesystem::create_directories(folder);
  std::string picture = (folder / "обложка.jpg").string();
  std::ofstream(picture) << "x";
  call("__SetStringValueToCGlobal:withValue:", {Value(0), Value(picture)});
  EXPECT_LE(G_INFO.picturePath[0], 255);
  EXPECT_EQ(text_of(0), picture);
}

TEST_F(Bridge, PicturePathIsCutAt255AndEmptyClearsIt) {
  call("__SetStringValueToCGlobal:withValue:", {Value(0), Value(std::string(300, 'a'))});
  EXPECT_EQ(text_of(0), std::string(255, 'a'));
  call("__SetStringValueToCGlobal:withValue:", {Value(0), Value("")});
  EXPECT_EQ(text_of(0), "");
}

TEST_F(Bridge, ReadOnlyAndUnlistedStringsChangeNothing) {
  CopyCStringToPascal("Display P3", G_INFO.colorProfileName);
  call("__SetStringValueToCGlobal:withValue:", {Value(1), Value("sRGB")});
  call("__SetStringValueToCGlobal:withValue:", {Value(7), Value("x")});
  call("__SetStringValueToCGlobal:withValue:", {Value(-1), Value("x")});
  EXPECT_EQ(text_of(1), "Display P3");
  EXPECT_EQ(text_of(0), "");
  EXPECT_EQ(text_of(3), "");
  EXPECT_EQ(text_of(99), "");
}

TEST_F(Bridge, NewPathAloneKeepsThePreviousPicturesFields) {
  CopyCStringToPascal("Adobe RGB (1998)", G_INFO.colorProfileName);
  call("__SetStringValueToCGlobal:withValue:", {Value(0), Value("/next.jpg")});
  EXPECT_EQ(text_of(1), "Adobe RGB (1998)");
}

TEST_F(Bridge, SharedIntegersStoreTheirWidths) {
  call("__SetIntValueToCGlobal:withValue:", {Value(4), Value(65539)});
  EXPECT_EQ(G_DOCSETTINGS.docHorizontalUnits, 3);
  call("__SetIntValueToCGlobal:withValue:", {Value(5), Value(-1)});
  EXPECT_EQ(G_DOCSETTINGS.docVerticalUnits, -1);
  call("__SetIntValueToCGlobal:withValue:", {Value(3), Value(65539)});
  EXPECT_EQ(packed(G_USERPREFS.dimensionUnits), 65539);
  UserPrefs before = G_USERPREFS;
  DocSettings doc_before = G_DOCSETTINGS;
  call("__SetIntValueToCGlobal:withValue:", {Value(7), Value(9)});
  call("__SetIntValueToCGlobal:withValue:", {Value(0), Value(9)});
  EXPECT_EQ(std::memcmp(&before, &G_USERPREFS, sizeof before), 0);
  EXPECT_EQ(std::memcmp(&doc_before, &G_DOCSETTINGS, sizeof doc_before), 0);
  EXPECT_EQ(call("__GetIntValueFromCGlobal:", {Value(3)}).as_integer(), 0);
}

TEST_F(Bridge, SixteenBitArgumentsKeepTheLowHalf) {
  // 65537 and 3 reach the pop-up handling as 1 and 3; the call itself succeeds.
  call("__HandleOpenWithPopUpSelection:withValue:", {Value(65537), Value(3)});
  EXPECT_EQ(last_error.number, 0);
  call("__HandleOpenWithPopUpSelection:withValue:", {Value(1)});
  EXPECT_EQ(last_error.number, -1708);
}

TEST_F(Bridge, EveryDocumentedSelectorExists) {
  const char* app_selectors[] = {"__GetStringValueFromCGlobal:",
                                 "__SetStringValueToCGlobal:withValue:",
                                 "__GetIntValueFromCGlobal:",
                                 "__SetIntValueToCGlobal:withValue:",
                                 "__GetPreferences",
                                 "__SavePreferences",
                                 "__InstallEventHandlers",
                                 "__GetPictureInfo",
                                 "__LoadOpenWithListPopUp",
                                 "__SetPostAppListPopUpSelection",
                                 "__HandleOpenWithPopUpSelection:withValue:",
                                 "__SetInitialOpenWithPopUpStatus",
                                 "__UpdateLastOpenWithSelectedRowGlobal:",
                                 "__GetLastOpenWithSelectedRowGlobal",
                                 "__UpdateAlwaysOpenWithGlobal:",
                                 "__MyLaunchApplication",
                                 "__HandleDimensionsUnitsChange",
                                 "__HandleRevealFolder:withValue:"};
  for (const char* s : app_selectors) EXPECT_NE(registry().find("", s), nullptr) << s;
  EXPECT_NE(registry().find("NSApplication", "touchBundleDate"), nullptr);
  EXPECT_NE(registry().find("veskaRoutines", "touchAppDate"), nullptr);
  EXPECT_NE(registry().find("VeskaClass", "DisplayIcon:which:"), nullptr);
  EXPECT_NE(registry().find("VeskaClass", "createSeparatorItem:"), nullptr);
}

TEST_F(Bridge, TouchDatesSetTheBundleDateAndIgnoreFailure) {
  namespace fs = std::filesystem;
  testing_support::TempDir folder;
  fs::path bundle = folder.path() / "tavrine.app";
  fs::create_directories(bundle);
  auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(48);
  fs::last_write_time(bundle, old_time);
  platform::set_main_bundle_path(bundle.string());
  call("touchBundleDate", {}, "NSApplication");
  EXPECT_GT(fs::last_write_time(bundle), old_time + std::chrono::hours(47));
  fs::last_write_time(bundle, old_time);
  call("touchAppDate", {}, "veskaRoutines");
  EXPECT_GT(fs::last_write_time(bundle), old_time + std::chrono::hours(47));
  fs::remove_all(bundle);
  call("touchAppDate", {}, "veskaRoutines");  // the bundle is gone: nothing happens
  EXPECT_EQ(last_error.number, 0);
  platform::set_main_bundle_path("");
}
