// Plug-in bundles found by identifier in real folders.
#include <gtest/gtest.h>

#include "platform/bundle.h"
#include "tests/support/file_sandbox.h"

namespace {

using std::filesystem::path;

std::string Plist(const std::string& identifier) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
         "  <key>CFBundleName</key>\n  <string>Cursors</string>\n"
         "  <key>CFBundleIdentifier</key>\n  <string>" +
         identifier + "</string>\n</dict>\n</plist>\n";
}

void MakeBundle(const path& folder, const std::string& identifier, const std::string& resource) {
  testing_support::write_file(folder / "Contents" / "Info.plist", Plist(identifier));
  if (!resource.empty())
    testing_support::write_file(folder / "Contents" / "Resources" / resource, resource);
}

class Bundles : public ::testing::Test {
 protected:
  testing_support::Folder box;
  std::string old_main = platform::main_bundle_path();
  void TearDown() override { platform::set_main_bundle_path(old_main); }

  std::string resource_path(const char* identifier, const char* name) {
    CFStringRef id = CFStringCreateWithUTF8(identifier);
    CFBundleRef bundle = CFBundleGetBundleWithIdentifier(id);
    CFRelease(id);
    if (!bundle) return "<no bundle>";
    CFStringRef resource = CFStringCreateWithUTF8(name);
    CFURLRef url = CFBundleCopyResourceURL(bundle, resource, nullptr, nullptr);
    CFRelease(resource);
    if (!url) return "<no resource>";
    std::string p = url->path;
    CFRelease(url);
    return p;
  }
};

TEST_F(Bundles, AreLookedUpInTheAppThenTheDataFolders) {
  path app = box.root() / "app";
  platform::set_main_bundle_path(app.string());
  path user = box.root() / "data" / "tavrine" / "PlugIns" / "Mine.bundle";
  path system = box.root() / "system" / "tavrine" / "PlugIns" / "Shared.bundle";
  MakeBundle(system, "org.example.cursors", "Crsr1");
  EXPECT_EQ(resource_path("org.example.cursors", "Crsr1"),
            (system / "Contents" / "Resources" / "Crsr1").string());
  MakeBundle(user, "org.example.cursors", "Crsr1");
  EXPECT_EQ(resource_path("org.example.cursors", "Crsr1"),
            (user / "Contents" / "Resources" / "Crsr1").string());
  path bundled = app / "PlugIns" / "Cursors.plugin";
  MakeBundle(bundled, "org.example.cursors", "Crsr1");
  EXPECT_EQ(resource_path("org.example.cursors", "Crsr1"),
            (bundled / "Contents" / "Resources" / "Crsr1").string());
}

TEST_F(Bundles, MissingBundlesAndResourcesGiveNothing) {
  EXPECT_EQ(resource_path("org.example.none", "Crsr1"), "<no bundle>");
  path user = box.root() / "data" / "tavrine" / "PlugIns" / "Mine.bundle";
  MakeBundle(user, "org.example.cursors", "Crsr1");
  EXPECT_EQ(resource_path("org.example.cursors", "Crsr2"), "<no resource>");
  EXPECT_EQ(resource_path("org.example.cursors", "../Info.plist"), "<no resource>");
  testing_support::fs::create_directories(user / "Contents" / "Resources" / "Folder");
  EXPECT_EQ(resource_path("org.example.cursors", "Folder"), "<no resource>");
  EXPECT_EQ(resource_path("org.example", "Crsr1"), "<no bundle>");
}

TEST(Plist, IdentifierIsReadFromItsKey) {
  EXPECT_EQ(platform::bundle_identifier_from_plist(Plist("a.b&amp;c")), "a.b&c");
  EXPECT_EQ(platform::bundle_identifier_from_plist("<key>CFBundleIdentifier</key><integer>1"), "");
  EXPECT_EQ(platform::bundle_identifier_from_plist("<key>CFBundleIdentifier</key> <string>x"), "");
  EXPECT_EQ(platform::bundle_identifier_from_plist(""), "");
}

}  // namespace
