#include <gtest/gtest.h>

#include "platform/workspace.h"
#include "tests/support/sandbox.h"

using testing_support::DesktopSandbox;
using testing_support::TempDir;

TEST(Workspace, IconsComeFromTheEntryOrTheContentType) {
  DesktopSandbox sandbox;
  auto entry =
      sandbox.add_application("painter", "Painter", "true %f", "image/png;", "Icon=painter-icon\n");
  EXPECT_EQ(platform::icon_for_file(entry.string()), "painter-icon");
  TempDir docs;
  auto png = docs.write("p.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(32, '\0'));
  EXPECT_EQ(platform::icon_for_file(png.string()).rfind("image-png;", 0), 0u);
  EXPECT_EQ(platform::icon_for_file((docs.path() / "gone.png").string()), "unknown");
  std::string folder = platform::icon_for_file(docs.path().string());
  EXPECT_NE(folder.find(";folder"), std::string::npos) << folder;
}
