// The built program, run as a user runs it, without a display: it prints its
// window after each handler, quits once the pictures of its command line are
// shown, and a second launch hands its pictures to the one running.
#include <gtest/gtest.h>

#include <fstream>

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <fstream>

#include "prefs/fileutils.h"
#include "prefs/prefs.h"
#include "prefs/userprefs.h"
#include "tests/support/another_user.h"
#include "tests/support/hard_places.h"
#include "tests/support/qt_app.h"
#include "tests/support/sandbox.h"

namespace {

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::qt_application();
    std::filesystem::create_directories(sandbox.root() / "run");
    std::filesystem::permissions(sandbox.root() / "run", std::filesystem::perms::owner_all);
    environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR",
                       QString::fromStdString((sandbox.root() / "run").string()));
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME",
                             "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"}) {
      environment.insert(name, qEnvironmentVariable(name));
    }
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
  }

  void start(QProcess& process, const QStringList& arguments,
             const QString& program = QString(TAVRINE_BINARY_DIR) + "/tavrine") {
    process.setWorkingDirectory(QString::fromStdString(sandbox.root().string()));
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(environment);
    process.start();
    ASSERT_TRUE(process.waitForStarted());
  }

  // Runs the program to its end and returns what it printed.
  std::string run(const QStringList& arguments,
                  const QString& program = QString(TAVRINE_BINARY_DIR) + "/tavrine") {
    QProcess process;
    start(process, arguments, program);
    EXPECT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput().toStdString();
  }

  std::string picture(const std::string& relative, int width, int height) {
    auto path = sandbox.root() / relative;
    std::filesystem::create_directories(path.parent_path());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::gray);
    EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
    return path.string();
  }

  testing_support::DesktopSandbox sandbox;
  QProcessEnvironment environment;
};

// The window as printed after one handler.
std::string section(const std::string& printed, const std::string& handler) {
  std::string head = "== " + handler + "\n";
  auto start = printed.find(head);
  if (start == std::string::npos) return {};
  start += head.size();
  auto end = printed.find("\n== ", start);
  return printed.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

TEST_F(Program, ShowsThePictureOfItsCommandLineAndQuits) {
  std::string path = picture("Jobs/Spring Catalogue/cover.png", 720, 360);
  std::string printed = run({QString::fromStdString(path)});
  EXPECT_EQ(printed.rfind("== launched\n", 0), 0u) << printed;
  std::string shown = section(printed, "open");
  EXPECT_NE(shown.find("  text field \"pictureName\": cover.png\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("  text field \"pictureFolder\": " +
                       (sandbox.root() / "Jobs" / "Spring Catalogue").string()),
            std::string::npos);
  EXPECT_NE(shown.find("  popup button \"revealPopUp\":\n      * Spring Catalogue\n"
                       "        Jobs\n"),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find("  button \"openButton\": Open\n"), std::string::npos);
  EXPECT_NE(section(printed, "will quit").find("pictureName\": cover.png"), std::string::npos);
}

TEST_F(Program, WithNoDisplayAtAllPrintsTheWindowByItself) {
  environment.remove("QT_QPA_PLATFORM");
  std::string path = picture("Jobs/cover.png", 72, 36);
  std::string printed = run({QString::fromStdString(path)});
  EXPECT_NE(section(printed, "open").find("  text field \"pictureName\": cover.png\n"),
            std::string::npos)
      << printed;
}

struct Sample {
  const char* file;
  const char* dimensions;
  const char* profile;
  bool claimed;  // the sandbox's viewer opens it by default
};

constexpr Sample kSamples[] = {
    {"sample-gray.psd", "300 x 200 px", "Gray Gamma 2.2", false},
    {"sample-noprofile.png", "640 x 480 px", "–", false},
    {"sample-plain.avif", "360 x 240 px", "–", false},
    {"sample-plain.gif", "320 x 240 px", "–", false},
    {"sample-plain.heic", "480 x 320 px", "–", false},
    {"sample-srgb.jpg", "720 x 360 px", "sRGB IEC61966-2.1", true},
    {"sample-srgb.webp", "400 x 300 px", "sRGB IEC61966-2.1", false},
    {"sample-unclaimed.jp2", "256 x 128 px", "–", false},
    {"sample-wide.bmp", "200 x 100 px", "Écran large – D65", false},
    {"sample-wide.tif", "1024 x 768 px", "Écran large – D65", true},
};

TEST_F(Program, ShowsEachSamplesInformation) {
  sandbox.add_application("viewer", "Picture Viewer", "true %f", "image/jpeg;image/tiff;");
  sandbox.set_default("image/jpeg", "viewer");
  sandbox.set_default("image/tiff", "viewer");
  const std::string viewer = (sandbox.data_home() / "applications" / "viewer.desktop").string();
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(sample.file);
    std::string path = std::string(TAVRINE_SOURCE_DIR) + "/samples/" + sample.file;
    std::string shown = section(run({QString::fromStdString(path)}), "open");
    EXPECT_NE(shown.find("  text field \"dimensions\": " + std::string(sample.dimensions) + "\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("  text field \"colourProfile\": " + std::string(sample.profile) +
                         "\n  label: Application:\n  text field \"applicationPath\": " +
                         (sample.claimed ? viewer : "–") + "\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(
        shown.find("  popup button \"MAINWAP_ITEM_OPENWITHPOPUP\":\n      * " +
                   std::string(sample.claimed ? "Picture Viewer (Default)" : "<Unknown Creator>") +
                   "\n        ----\n        Other…\n  button \"openButton\": Open\n"
                   "  check box \"MAINWAP_ITEM_ALWAYSOPENWITH\": [ ] Always open with "
                   "(disabled)\n"),
        std::string::npos)
        << shown;
  }
}

TEST_F(Program, WritesControlCharactersOfNamesVisibly) {
  // A name that would set the terminal's title and clear its screen.
  std::string path = picture(
      "Jobs/\x1b]0;owned\x07"
      "Caf\xC3\xA9\x1b[2J.png",
      8, 8);
  std::string printed = run({QString::fromStdString(path)});
  EXPECT_NE(section(printed, "open").find("pictureName\": \\x1b]0;owned\\x07Café\\x1b[2J.png\n"),
            std::string::npos)
      << printed;
  EXPECT_EQ(printed.find('\x1b'), std::string::npos);
  EXPECT_EQ(printed.find('\x07'), std::string::npos);
}

// Without a runtime folder, where another user made the socket's folder
// first: no hand-over, so the launch shows its picture itself.
TEST_F(Program, WithoutAPrivateFolderALaunchOpensItsOwnWindow) {
  if (!testing_support::can_play_another_user()) GTEST_SKIP() << "needs root and setpriv";
  auto tmp = testing_support::shared_temporary_folder(sandbox.root());
  auto squat = tmp / ("tavrine-" + std::to_string(::geteuid()));
  QProcess other;
  testing_support::start_as_another_user(
      other, {"mkdir", "-m", "777", QString::fromStdString(squat.string())});
  ASSERT_TRUE(other.waitForFinished(10000));
  ASSERT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();
  environment.remove("XDG_RUNTIME_DIR");
  environment.insert("TMPDIR", QString::fromStdString(tmp.string()));

  std::string path = picture("Jobs/cover.png", 8, 8);
  QProcess launch;
  start(launch, {QString::fromStdString(path)});
  ASSERT_TRUE(launch.waitForFinished(20000));
  EXPECT_EQ(launch.exitCode(), 0);
  std::string printed = launch.readAllStandardOutput().toStdString();
  EXPECT_NE(section(printed, "open").find("pictureName\": cover.png"), std::string::npos)
      << printed;
  EXPECT_NE(launch.readAllStandardError().toStdString().find(
                "tavrine: launches do not hand pictures over: " + squat.string() +
                " belongs to another user\n"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(squat));
}

TEST_F(Program, TakesRelativePathsAndFileUrls) {
  std::string path = picture("a.png", 10, 10);
  std::string printed = run({"file://" + QString::fromStdString(path)});
  EXPECT_NE(section(printed, "open").find("pictureName\": a.png"), std::string::npos) << printed;
  picture("sub/b.png", 10, 10);
  printed = run({"sub/b.png"});  // from the sandbox's folder
  EXPECT_NE(section(printed, "open").find("pictureFolder\": " + (sandbox.root() / "sub").string()),
            std::string::npos)
      << printed;
}

TEST_F(Program, TakesEveryPathTheFileSystemCanName) {
  auto places = testing_support::make_hard_places(
      sandbox.root() / "places",
      std::filesystem::path(TAVRINE_SOURCE_DIR) / "samples" / "sample-srgb.jpg");
  for (const auto& place : places) {
    SCOPED_TRACE(place.label);
    // The path's own bytes reach the program through a file: a QString
    // argument would not carry a name that is not valid UTF-8.
    std::filesystem::path holder = sandbox.root() / "argument";
    std::ofstream(holder, std::ios::binary) << place.picture.string();
    std::string printed =
        run({"-c", "exec \"$0\" \"$(cat \"$1\")\"", QString(TAVRINE_BINARY_DIR) + "/tavrine",
             QString::fromStdString(holder.string())},
            "/bin/sh");
    std::string shown = section(printed, "open");
    EXPECT_NE(shown.find("  text field \"dimensions\": 720 x 360 px\n"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("  text field \"colourProfile\": sRGB IEC61966-2.1\n"), std::string::npos);
  }
}

TEST_F(Program, ASecondLaunchHandsItsPictureToTheFirst) {
  QProcess first;
  start(first, {});
  std::string printed;
  QElapsedTimer clock;
  clock.start();
  auto wait_for = [&](const std::string& marker) {
    while (printed.find(marker) == std::string::npos && clock.elapsed() < 20000) {
      first.waitForReadyRead(100);
      printed += first.readAllStandardOutput().toStdString();
    }
    return printed.find(marker) != std::string::npos;
  };
  ASSERT_TRUE(wait_for("== launched\n"));

  std::string path = picture("handed/over.png", 8, 8);
  QProcess second;
  start(second, {QString::fromStdString(path)});
  ASSERT_TRUE(second.waitForFinished(20000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(second.readAllStandardOutput().isEmpty()) << "the second launch shows no window";

  ASSERT_TRUE(wait_for("== open\n"));
  EXPECT_TRUE(first.state() == QProcess::Running) << "the first stays for more pictures";
  first.kill();
  first.waitForFinished();
}

// Two applications picked before (a desktop entry of the user's and a program
// on $PATH), saved with the preferences. Neither a cleared cache nor, after
// that, a lost folder catalog takes them out of the pop-up.
TEST_F(Program, RemembersPickedApplicationsPastAClearedCache) {
  auto painter = sandbox.add_application("painter", "Painter", "true %f", "image/png;");
  auto resizer = sandbox.root() / "bin" / "resizer";
  std::filesystem::create_directories(resizer.parent_path());
  std::ofstream(resizer) << "#!/bin/sh\n";
  std::filesystem::permissions(resizer, std::filesystem::perms::owner_all);
  environment.insert("PATH", QString::fromStdString(resizer.parent_path().string()) + ":" +
                                 qEnvironmentVariable("PATH"));
  G_USERPREFS = {};
  for (const auto& app : {painter, resizer}) {
    FSSpec& slot = G_USERPREFS.postAppList[G_USERPREFS.postAppCount++];
    ASSERT_EQ(FSPathMakeFSSpec(reinterpret_cast<const UInt8*>(app.c_str()), &slot, nullptr), noErr);
  }
  SaveUserPrefs();
  G_USERPREFS = {};
  std::string path = picture("Jobs/cover.png", 10, 10);
  const std::string rows =
      "  popup button \"MAINWAP_ITEM_OPENWITHPOPUP\":\n"
      "      * <Unknown Creator>\n        ----\n        Painter\n"
      "        resizer\n        ----\n        Other…\n";
  std::filesystem::remove_all(sandbox.root() / "cache");
  std::string shown = section(run({QString::fromStdString(path)}), "open");
  EXPECT_NE(shown.find(rows), std::string::npos) << shown;
  std::filesystem::remove_all(sandbox.root() / "cache");
  std::filesystem::remove_all(sandbox.root() / "state" / "tavrine");
  shown = section(run({QString::fromStdString(path)}), "open");
  EXPECT_NE(shown.find(rows), std::string::npos) << shown;
}

}  // namespace
