// Installing tavrine as a desktop application: a staged (DESTDIR) install
// checked with the desktop's own validators, a live install that refreshes the
// desktop's caches, and the Debian package inspected with dpkg-deb. A test
// whose tool is missing is skipped.
#include <gtest/gtest.h>
#include <stdio.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/file_sandbox.h"
#include "tests/support/sandbox.h"

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

const std::string kBuild = TAVRINE_BINARY_DIR;

// Everything an install puts under its prefix.
const std::vector<std::string> kInstalledFiles = {
    "bin/tavrine",
    "bin/tavrine-capture-cursor",
    "share/tavrine/Main.layout",
    "share/tavrine/Main.applescript",
    "share/applications/tavrine.desktop",
    "share/icons/hicolor/16x16/apps/tavrine.png",
    "share/icons/hicolor/22x22/apps/tavrine.png",
    "share/icons/hicolor/24x24/apps/tavrine.png",
    "share/icons/hicolor/32x32/apps/tavrine.png",
    "share/icons/hicolor/48x48/apps/tavrine.png",
    "share/icons/hicolor/64x64/apps/tavrine.png",
    "share/icons/hicolor/128x128/apps/tavrine.png",
    "share/icons/hicolor/256x256/apps/tavrine.png",
    "share/icons/hicolor/scalable/apps/tavrine.svg",
    "share/metainfo/org.tavrine.Tavrine.metainfo.xml",
    "share/man/man1/tavrine.1.gz",
    "share/man/man1/tavrine-capture-cursor.1.gz",
};

struct Output {
  int status;
  std::string text;  // standard output and standard error
};

Output run(const std::string& command) {
  Output out{-1, {}};
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return out;
  std::array<char, 4096> buffer;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
    out.text.append(buffer.data(), n);
  int status = ::pclose(pipe);
  out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

bool have(const std::string& tool) {
  return run("command -v " + tool).status == 0;
}

std::string shell_quoted(const fs::path& path) {
  return "'" + path.string() + "'";
}

// Installs the build into `prefix`, under `destdir` when one is given.
Output install(const fs::path& prefix, const fs::path& destdir = {}) {
  std::string env = destdir.empty() ? "env -u DESTDIR " : "DESTDIR=" + shell_quoted(destdir) + " ";
  return run(env + "cmake --install " + shell_quoted(kBuild) + " --prefix " + shell_quoted(prefix));
}

}  // namespace

TEST(DesktopInstall, StagedInstallPutsEveryPieceInPlaceAndValidates) {
  TempDir stage;
  Output installed = install("/usr", stage.path());
  ASSERT_EQ(installed.status, 0) << installed.text;
  fs::path root = stage.path() / "usr";
  for (const std::string& file : kInstalledFiles)
    EXPECT_TRUE(fs::is_regular_file(root / file)) << file;
  // A staged install leaves the desktop's caches to whoever installs for real.
  EXPECT_FALSE(fs::exists(root / "share/applications/mimeinfo.cache"));
  EXPECT_FALSE(fs::exists(root / "share/icons/hicolor/icon-theme.cache"));

  if (!have("desktop-file-validate") || !have("appstreamcli"))
    GTEST_SKIP() << "a validator is missing";
  Output entry =
      run("desktop-file-validate " + shell_quoted(root / "share/applications/tavrine.desktop"));
  EXPECT_EQ(entry.status, 0) << entry.text;
  EXPECT_EQ(entry.text, "");
  Output metainfo = run("appstreamcli validate --no-net " +
                        shell_quoted(root / "share/metainfo/org.tavrine.Tavrine.metainfo.xml"));
  EXPECT_EQ(metainfo.status, 0) << metainfo.text;
  // The tree as a software centre reads it: the metainfo's launchable entry
  // and its icon found.
  Output tree = run("appstreamcli validate-tree --no-net " + shell_quoted(stage.path()));
  EXPECT_EQ(tree.status, 0) << tree.text;
}

TEST(DesktopInstall, ManPagesRenderWithoutWarnings) {
  if (!have("man")) GTEST_SKIP() << "man is missing";
  for (const char* page : {"tavrine.1.gz", "tavrine-capture-cursor.1.gz"}) {
    Output shown = run("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l " +
                       shell_quoted(fs::path(kBuild) / "man" / page) + " 2>&1 >/dev/null");
    EXPECT_EQ(shown.status, 0) << page;
    EXPECT_EQ(shown.text, "") << page;
  }
}

TEST(DesktopInstall, LiveInstallTellsTheDesktopAboutTavrine) {
  if (!have("update-desktop-database") || !have("gtk-update-icon-cache"))
    GTEST_SKIP() << "a cache tool is missing";
  TempDir prefix;
  Output installed = install(prefix.path());
  ASSERT_EQ(installed.status, 0) << installed.text;
  std::string index =
      testing_support::read_file(prefix.path() / "share/applications/mimeinfo.cache");
  EXPECT_NE(index.find("image/jpeg=tavrine.desktop;"), std::string::npos) << index;
  EXPECT_EQ(index.find("image/*"), std::string::npos)
      << "tavrine claims the types it reads, no wildcard";
  EXPECT_TRUE(fs::exists(prefix.path() / "share/icons/hicolor/icon-theme.cache"));
}

TEST(DebianPackage, IsADebianPackageWithEveryPieceAndItsDependencies) {
  if (!have("dpkg-deb") || !have("dpkg-shlibdeps") || !have("cpack"))
    GTEST_SKIP() << "dpkg-dev or cpack is missing";
  TempDir out;
  Output packed =
      run("cpack -G DEB --config " + shell_quoted(fs::path(kBuild) / "CPackConfig.cmake") + " -B " +
          shell_quoted(out.path()));
  ASSERT_EQ(packed.status, 0) << packed.text;
  fs::path deb;
  for (const auto& item : fs::directory_iterator(out.path())) {
    if (item.path().extension() == ".deb") deb = item.path();
  }
  ASSERT_FALSE(deb.empty()) << packed.text;
  EXPECT_EQ(deb.filename().string().rfind("tavrine_", 0), 0u) << deb;

  Output contents = run("dpkg-deb -c " + shell_quoted(deb));
  ASSERT_EQ(contents.status, 0) << contents.text;
  for (const std::string& file : kInstalledFiles) {
    EXPECT_NE(contents.text.find(" ./usr/" + file + "\n"), std::string::npos) << file;
  }
  EXPECT_EQ(contents.text.find("cache"), std::string::npos) << "dpkg's triggers make the caches";
  EXPECT_EQ(contents.text.find("/local/"), std::string::npos);

  Output control = run("dpkg-deb -I " + shell_quoted(deb));
  ASSERT_EQ(control.status, 0) << control.text;
  EXPECT_NE(control.text.find(" Package: tavrine\n"), std::string::npos) << control.text;
  EXPECT_NE(control.text.find(" Section: graphics\n"), std::string::npos) << control.text;
  for (const char* needed :
       {"libqt6widgets6", "libqt6network6", "libglib2.0-0", "liblcms2-2", "libicu", "libx11-6",
        "libxi6", "libxfixes3", "qt6-qpa-plugins", "libqt6svg6", "shared-mime-info"}) {
    EXPECT_NE(control.text.find(needed), std::string::npos) << needed << " missing from\n"
                                                            << control.text;
  }
}
