// Launch Services on GIO, in a sandbox of desktop entries and default rules.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include <gio/gio.h>

#include "platform/launch.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/private_bus.h"
#include "tests/support/sandbox.h"

namespace fs = std::filesystem;
using testing_support::DesktopSandbox;
using testing_support::TempDir;

namespace {

FSRef RefOf(const fs::path& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return FSRef{path.string(), st.st_dev, st.st_ino};
}

// Opens the item with the application (a desktop entry or a program).
OSStatus OpenWith(FSRef app, FSRef item) {
  LSLaunchFSRefSpec spec{&app, 1, &item, nullptr, kLSLaunchDefaults, nullptr};
  return LSOpenFromRefSpec(&spec, nullptr);
}

std::string WaitForFile(const fs::path& file) {
  for (int i = 0; i < 200 && !fs::exists(file); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return testing_support::read_file(file);
}

class LaunchServices : public ::testing::Test {
 protected:
  DesktopSandbox sandbox;
  TempDir docs;
};

}  // namespace

TEST_F(LaunchServices, FindsTheDefaultApplicationOfAnItemByItsContents) {
  fs::path editor = sandbox.add_application("editor", "Picture Editor", "true %f", "image/png;");
  sandbox.set_default("image/png", "editor");
  // A PNG signature under a misleading name is still a PNG.
  fs::path doc =
      docs.write("picture.dat", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(64, '\0'));
  FSRef app;
  CFURLRef url = nullptr;
  FSRef item = RefOf(doc);
  ASSERT_EQ(LSGetApplicationForItem(&item, kLSRolesAll, &app, &url), noErr);
  EXPECT_EQ(app.path, editor.string());
  ASSERT_NE(url, nullptr);
  EXPECT_EQ(url->path, editor.string());
  CFRelease(url);
}

TEST_F(LaunchServices, NoApplicationForAnUnclaimedType) {
  fs::path doc = docs.write("notes.qqzz", "plain words");
  FSRef app, item = RefOf(doc);
  EXPECT_EQ(LSGetApplicationForItem(&item, kLSRolesAll, &app, nullptr), kLSApplicationNotFoundErr);
}

TEST_F(LaunchServices, FindsApplicationsByTypeCodeAndByExtension) {
  fs::path viewer = sandbox.add_application("viewer", "Viewer", "true %f", "image/jpeg;");
  sandbox.set_default("image/jpeg", "viewer");
  FSRef app;
  ASSERT_EQ(LSGetApplicationForInfo(FOUR_CHAR_CODE("JPEG"), 0, nullptr, kLSRolesAll, &app, nullptr),
            noErr);
  EXPECT_EQ(app.path, viewer.string());
  CFStringRef ext = CFStringCreateWithUTF8("jpg");
  FSRef by_ext;
  ASSERT_EQ(LSGetApplicationForInfo(0, 0, ext, kLSRolesAll, &by_ext, nullptr), noErr);
  EXPECT_EQ(by_ext.path, viewer.string());
  CFRelease(ext);
  EXPECT_NE(LSGetApplicationForInfo(0, 0, nullptr, kLSRolesAll, &by_ext, nullptr), noErr);
  EXPECT_NE(
      LSGetApplicationForInfo(FOUR_CHAR_CODE("????"), 0, nullptr, kLSRolesAll, &by_ext, nullptr),
      noErr);
}

TEST_F(LaunchServices, HiddenEntriesAndMissingTryExecAreNoApplications) {
  sandbox.add_application("hidden", "Hidden", "true %f", "image/png;", "Hidden=true\n");
  sandbox.set_default("image/png", "hidden");
  fs::path gone = sandbox.add_application("gone", "Gone", "true %f", "image/gif;",
                                          "TryExec=/nonexistent/program\n");
  sandbox.set_default("image/gif", "gone");
  FSRef app;
  EXPECT_NE(LSGetApplicationForInfo(FOUR_CHAR_CODE("PNGf"), 0, nullptr, kLSRolesAll, &app, nullptr),
            noErr);
  EXPECT_NE(LSGetApplicationForInfo(FOUR_CHAR_CODE("GIFf"), 0, nullptr, kLSRolesAll, &app, nullptr),
            noErr);
  EXPECT_FALSE(platform::is_application(gone.string()));
}

TEST_F(LaunchServices, DisplayNamesAreTheLocalizedNameOrTheFileName) {
  fs::path entry =
      sandbox.add_application("krita-like", "Painter", "true %f", "image/png;", "Name[de]=Maler\n");
  FSRef ref = RefOf(entry);
  CFStringRef name = nullptr;
  ASSERT_EQ(LSCopyDisplayNameForRef(&ref, &name), noErr);
  EXPECT_EQ(name->utf8, "Painter");
  CFRelease(name);
  fs::path doc = docs.write("Café.tif", "x");
  FSRef doc_ref = RefOf(doc);
  ASSERT_EQ(LSCopyDisplayNameForRef(&doc_ref, &name), noErr);
  EXPECT_EQ(name->utf8, "Café.tif");
  CFRelease(name);
  EXPECT_EQ(platform::live_cf_object_count(), 0u);
}

TEST_F(LaunchServices, DisplayNamesWithoutAMacRomanFormStayReadable) {
  setenv("LANGUAGE", "ru", 1);
  fs::path translated = sandbox.add_application("viewer-ru", "Image Viewer", "true %f",
                                                "image/png;", "Name[ru]=Просмотр изображений\n");
  fs::path russian_only =
      sandbox.add_application("viewer-only-ru", "Просмотр изображений", "true %f", "image/png;");
  fs::path german = sandbox.add_application("viewer-de", "Image Viewer", "true %f", "image/png;",
                                            "Name[ru]=Bildbetrachter für Fotos\n");
  auto name_of = [](const fs::path& entry) {
    FSRef ref = RefOf(entry);
    CFStringRef name = nullptr;
    EXPECT_EQ(LSCopyDisplayNameForRef(&ref, &name), noErr);
    std::string text = name ? name->utf8 : "";
    if (name) CFRelease(name);
    return text;
  };
  EXPECT_EQ(name_of(translated), "Image Viewer");
  EXPECT_EQ(name_of(russian_only), "Prosmotr izobrazenij");
  EXPECT_EQ(name_of(german), "Bildbetrachter für Fotos");
  fs::path program = docs.write("просмотр", "#!/bin/sh\n");
  EXPECT_EQ(name_of(program), "prosmotr");
  unsetenv("LANGUAGE");
  EXPECT_EQ(platform::live_cf_object_count(), 0u);
}

TEST_F(LaunchServices, ExtensionOfAnItem) {
  FSRef ref{"/a/b/picture.final.JPG", 0, 0};
  LSItemInfoRecord info;
  ASSERT_EQ(LSCopyItemInfoForRef(&ref, kLSRequestExtension, &info), noErr);
  ASSERT_NE(info.extension, nullptr);
  EXPECT_EQ(info.extension->utf8, "JPG");
  CFRelease(info.extension);
  FSRef bare{"/a/b/.profile", 0, 0};
  ASSERT_EQ(LSCopyItemInfoForRef(&bare, kLSRequestExtension, &info), noErr);
  EXPECT_EQ(info.extension, nullptr);
}

TEST_F(LaunchServices, LaunchingAnEntryOpensTheDocument) {
  fs::path marker = docs.path() / "marker";
  fs::path program = sandbox.marker_program(marker);
  fs::path entry =
      sandbox.add_application("recorder", "Recorder", program.string() + " %f", "image/png;");
  fs::path doc = docs.write("my picture.png", "x");
  ASSERT_EQ(OpenWith(RefOf(entry), RefOf(doc)), noErr);
  EXPECT_EQ(WaitForFile(marker), doc.string() + "\n");
}

TEST_F(LaunchServices, LaunchingAnExecutableOpensTheDocument) {
  fs::path marker = docs.path() / "marker";
  fs::path program = sandbox.marker_program(marker);
  fs::path doc = docs.write("pic.tif", "x");
  ASSERT_EQ(OpenWith(RefOf(program), RefOf(doc)), noErr);
  EXPECT_EQ(WaitForFile(marker), doc.string() + "\n");
}

TEST_F(LaunchServices, LaunchFailuresAreReported) {
  fs::path doc = docs.write("pic.tif", "x");
  FSRef item = RefOf(doc);
  fs::path hidden = sandbox.add_application("hidden", "Hidden", "true %f", "", "Hidden=true\n");
  fs::path broken = sandbox.add_application("broken", "Broken", "/nonexistent/bin/editor %f", "");
  fs::path plain = docs.write("not-a-program", "text");
  for (const fs::path& p : {hidden, broken, plain, docs.path() / "deleted.desktop"}) {
    EXPECT_NE(OpenWith(RefOf(p), item), noErr) << p;
  }
  fs::path ok = sandbox.add_application("ok", "OK", "true %f", "");
  FSRef gone_doc{(docs.path() / "gone.tif").string(), 0, 0};
  EXPECT_EQ(OpenWith(RefOf(ok), gone_doc), fnfErr);
}

TEST_F(LaunchServices, BusStartedApplicationWithoutItsServiceBeepsOnceLater) {
  testing_support::PrivateBus bus(docs.path(), {});
  testing_support::RecordingAlerts alerts;
  fs::path entry = sandbox.add_application("org.example.Viewer", "Viewer", "true %f", "image/png;",
                                           "DBusActivatable=true\n");
  fs::path doc = docs.write("pic.png", "x");
  ASSERT_EQ(OpenWith(RefOf(entry), RefOf(doc)), noErr);
  EXPECT_EQ(alerts.beeps, 0) << "the launch does not wait for the bus";
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (alerts.beeps == 0 && std::chrono::steady_clock::now() < deadline) {
    g_main_context_iteration(nullptr, FALSE);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
  EXPECT_EQ(alerts.beeps, 1);
}
