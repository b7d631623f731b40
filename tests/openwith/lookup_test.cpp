// Finding a document's application, the chooser, and launching, against real
// desktop entries and files in a sandbox.
#include "openwith/lookup.h"

#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "openwith/launch.h"
#include "platform/aedesc.h"
#include "platform/memory.h"
#include "tests/support/answering_chooser.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/packed.h"
#include "tests/support/sandbox.h"

using testing_support::packed;

namespace fs = std::filesystem;
using testing_support::AnsweringChooser;
using testing_support::DesktopSandbox;
using testing_support::name_of;
using testing_support::RecordingAlerts;
using testing_support::spec_of;
using testing_support::TempDir;

namespace {

const std::string kPng = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(64, '\0');

class Lookup : public ::testing::Test {
 protected:
  DesktopSandbox desktop;
  TempDir docs;
};

std::string WaitForFile(const fs::path& file) {
  for (int i = 0; i < 300 && !fs::exists(file); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return testing_support::read_file(file);
}

}  // namespace

TEST_F(Lookup, FindsTheItemsOwnApplicationAndItsCreator) {
  fs::path editor = desktop.add_application("editor", "Editor", "true %f", "image/png;");
  desktop.set_default("image/png", "editor");
  FSSpec doc = spec_of(docs.write("a.png", kPng));
  FSSpec app{};
  OSType creator = 0;
  ASSERT_EQ(FindApplicationFromDocument(&doc, &app, &creator), noErr);
  EXPECT_EQ(name_of(app), "editor.desktop");
  EXPECT_EQ(creator, 0u);
}

TEST_F(Lookup, FallsBackToTheExtension) {
  // Bytes that no signature claims under a name whose extension an
  // application does: only the last question finds it.
  fs::path viewer = desktop.add_application("viewer", "Viewer", "true %f", "image/jpeg;");
  desktop.set_default("image/jpeg", "viewer");
  FSSpec doc = spec_of(docs.write("photo.jpg", "not really a jpeg"));
  FSSpec app{};
  OSType creator = 1;
  ASSERT_EQ(FindApplicationFromDocument(&doc, &app, &creator), noErr);
  EXPECT_EQ(name_of(app), "viewer.desktop");
}

TEST_F(Lookup, NothingFoundKeepsTheCreatorAndFails) {
  fs::path file = docs.write("notes.qqzz", "words");
  // A Finder-info creator, as netatalk stores it: an AppleDouble header with
  // one Finder-info entry (id 9 at offset 38, 32 bytes), type then creator.
  std::string apple_double("\x00\x05\x16\x07\x00\x02\x00\x00", 8);
  apple_double += std::string(16, '\0') + std::string("\x00\x01", 2);
  apple_double += std::string("\x00\x00\x00\x09\x00\x00\x00\x26\x00\x00\x00\x20", 12);
  apple_double += "TEXTttxt" + std::string(24, '\0');
  bool has_xattr = setxattr(file.c_str(), "user.org.netatalk.Metadata", apple_double.data(),
                            apple_double.size(), 0) == 0;
  FSSpec doc = spec_of(file);
  FSSpec app{};
  app.vRefNum = 7;
  OSType creator = 0;
  EXPECT_NE(FindApplicationFromDocument(&doc, &app, &creator), noErr);
  EXPECT_EQ(app.vRefNum, 7);  // untouched
  if (has_xattr) {
    EXPECT_EQ(creator, FOUR_CHAR_CODE("ttxt"));
  }
}

TEST_F(Lookup, AMissingDocumentWritesNeitherOutput) {
  FSSpec doc = spec_of(docs.write("gone.png", kPng));
  fs::remove(docs.path() / "gone.png");
  FSSpec app{};
  app.parID = 99;
  OSType creator = FOUR_CHAR_CODE("keep");
  EXPECT_NE(FindApplicationFromDocument(&doc, &app, &creator), noErr);
  EXPECT_EQ(packed(app.parID), 99);
  EXPECT_EQ(creator, FOUR_CHAR_CODE("keep"));
}

TEST_F(Lookup, ChooserAsksForAnApplicationAndReturnsIt) {
  AnsweringChooser chooser;
  fs::path entry = desktop.add_application("painter", "Painter", "true %f", "image/png;");
  chooser.answer = entry.string();
  FInfo info{};
  FSSpec spec{};
  ASSERT_EQ(NavPickApplication(&info, &spec), noErr);
  EXPECT_EQ(chooser.last_message, "Choose an application:");
  EXPECT_EQ(chooser.last_action, "Choose");
  EXPECT_EQ(chooser.last_cancel, "");
  EXPECT_EQ(name_of(spec), "painter.desktop");
  EXPECT_EQ(packed(info.fdType), FOUR_CHAR_CODE("APPL"));
  EXPECT_EQ(platform::live_descriptor_count(), 0u);
  EXPECT_EQ(platform::live_handle_count(), 0u);
}

TEST_F(Lookup, CancelledChooserWritesNothing) {
  AnsweringChooser chooser;
  FInfo info{};
  info.fdCreator = FOUR_CHAR_CODE("keep");
  FSSpec spec{};
  spec.vRefNum = 3;
  EXPECT_EQ(NavPickApplication(&info, &spec), userCanceledErr);
  EXPECT_EQ(chooser.asked, 1);
  EXPECT_EQ(packed(info.fdCreator), FOUR_CHAR_CODE("keep"));
  EXPECT_EQ(spec.vRefNum, 3);
  EXPECT_EQ(platform::live_descriptor_count(), 0u);
  EXPECT_EQ(platform::live_handle_count(), 0u);
}

TEST_F(Lookup, NoChooserCountsAsCancel) {
  FInfo info{};
  FSSpec spec{};
  EXPECT_EQ(NavPickApplication(&info, &spec), userCanceledErr);
}

TEST_F(Lookup, LaunchOpensThePictureWithTheApplication) {
  RecordingAlerts alerts;
  fs::path marker = docs.path() / "marker";
  fs::path program = desktop.marker_program(marker);
  fs::path entry = desktop.add_application("recorder", "Recorder", program.string() + " %f", "");
  fs::path picture = docs.write("Café picture.png", kPng);
  MyLaunchApplication(spec_of(entry), spec_of(picture));
  EXPECT_EQ(WaitForFile(marker), picture.string() + "\n");
  EXPECT_EQ(alerts.beeps, 0);
}

TEST_F(Lookup, LaunchOfARemovedApplicationBeepsOnce) {
  RecordingAlerts alerts;
  fs::path entry = desktop.add_application("gone", "Gone", "true %f", "");
  FSSpec app = spec_of(entry);
  fs::remove(entry);
  MyLaunchApplication(app, spec_of(docs.write("p.png", kPng)));
  EXPECT_EQ(alerts.beeps, 1);
  MyLaunchApplication(FSSpec{}, spec_of(docs.path() / "p.png"));
  EXPECT_EQ(alerts.beeps, 2);
}

// tavrine claims picture types so that file managers offer it under "Open
// With"; it must never answer for a picture itself.
TEST_F(Lookup, TavrineIsNeverThePicturesApplication) {
  desktop.add_application("tavrine", "Tavrine", "true %F", "image/jp2;image/*;");
  desktop.set_default("image/jp2", "tavrine");
  if (!desktop.index_mime_types()) GTEST_SKIP() << "update-desktop-database is missing";
  FSSpec doc = spec_of(docs.write("scan.jp2", std::string("\0\0\0\x0cjP  \r\n\x87\n", 12)));
  FSSpec app{};
  app.parID = 5;
  OSType creator = 0;
  EXPECT_NE(FindApplicationFromDocument(&doc, &app, &creator), noErr);
  EXPECT_EQ(packed(app.parID), 5);
}

TEST_F(Lookup, TavrineAsTheDefaultGivesWayToTheNextHandler) {
  desktop.add_application("tavrine", "Tavrine", "true %F", "image/jp2;");
  desktop.add_application("viewer", "Viewer", "true %f", "image/jp2;");
  desktop.set_default("image/jp2", "tavrine");
  if (!desktop.index_mime_types()) GTEST_SKIP() << "update-desktop-database is missing";
  FSSpec doc = spec_of(docs.write("scan.jp2", std::string("\0\0\0\x0cjP  \r\n\x87\n", 12)));
  FSSpec app{};
  OSType creator = 0;
  ASSERT_EQ(FindApplicationFromDocument(&doc, &app, &creator), noErr);
  EXPECT_EQ(name_of(app), "viewer.desktop");
}

TEST_F(Lookup, OpenNeverHandsThePictureBackToTavrine) {
  RecordingAlerts alerts;
  fs::path marker = docs.path() / "marker";
  fs::path entry = desktop.add_application("tavrine", "Tavrine",
                                           desktop.marker_program(marker).string() + " %F", "");
  MyLaunchApplication(spec_of(entry), spec_of(docs.write("p.png", kPng)));
  EXPECT_EQ(alerts.beeps, 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(fs::exists(marker));
}
