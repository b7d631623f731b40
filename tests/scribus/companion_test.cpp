// "Show in tavrine", the companion script, run inside the real Scribus on a
// document it made: the selected image frame's picture reaches the running
// window; a selection without an image frame, or a frame without a picture,
// gives a message and nothing else.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <fstream>

#include "tests/support/sandbox.h"
#include "tests/support/scribus.h"

namespace {

namespace fs = std::filesystem;

class Companion : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing_support::have_scribus()) GTEST_SKIP() << "Scribus is not installed";
    fs::create_directories(dir.path() / "run");
    fs::permissions(dir.path() / "run", fs::perms::owner_all);
    environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString((dir.path() / "run").string()));
    environment.insert("TAVRINE", QString(TAVRINE_BINARY_DIR) + "/tavrine");
    fs::create_directories(dir.path() / "Jobs/Spring");
    fs::copy_file(fs::path(TAVRINE_SOURCE_DIR) / "samples/sample-srgb.jpg",
                  dir.path() / "Jobs/Spring/cover photo.jpg");
    ASSERT_TRUE(testing_support::make_scribus_document(
        dir.path(), R"({"save": ")" + document() + R"(", "pages": 1, "frames": [
          {"name": "caption", "page": 1, "text": true},
          {"name": "cover", "page": 1, "picture": ")" +
                        (dir.path() / "Jobs/Spring/cover photo.jpg").string() + R"("},
          {"name": "empty", "page": 1}]})"));
    ASSERT_TRUE(fs::exists(document()));
  }

  void TearDown() override {
    if (window.state() == QProcess::NotRunning) return;
    window.kill();
    window.waitForFinished();
  }

  std::string document() const { return (dir.path() / "catalogue.sla").string(); }

  // The window, running with no picture yet.
  void start_window() {
    window.setProcessEnvironment(environment);
    window.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    window.start(QString(TAVRINE_BINARY_DIR) + "/tavrine", {});
    ASSERT_TRUE(window.waitForStarted());
    ASSERT_TRUE(wait_for("== launched\n"));
  }

  // Reads what the window prints until `marker` appears.
  bool wait_for(const std::string& marker, int timeout_ms = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (printed.find(marker) == std::string::npos && clock.elapsed() < timeout_ms) {
      window.waitForReadyRead(100);
      printed += window.readAllStandardOutput().toStdString();
    }
    return printed.find(marker) != std::string::npos;
  }

  // Runs the companion in Scribus with the frames selected; returns the
  // messages it showed.
  std::string run_companion(const std::vector<std::string>& frames) {
    const fs::path messages = dir.path() / "messages.txt";
    fs::remove(messages);
    std::vector<std::string> arguments{
        document(), std::string(TAVRINE_SOURCE_DIR) + "/resources/scribus/Show in tavrine.py",
        messages.string()};
    arguments.insert(arguments.end(), frames.begin(), frames.end());
    std::string log;
    EXPECT_TRUE(testing_support::run_scribus(testing_support::scribus_script("run_companion.py"),
                                             arguments, &log, environment))
        << log;
    std::ifstream in(messages);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  testing_support::DesktopSandbox desktop;  // the window's preferences go here
  testing_support::TempDir dir;
  QProcessEnvironment environment;
  QProcess window;
  std::string printed;
};

TEST_F(Companion, HandsTheSelectedPictureToTheRunningWindow) {
  start_window();
  // The text frame is selected first: the first image frame counts.
  EXPECT_EQ(run_companion({"caption", "cover"}), "");
  ASSERT_TRUE(wait_for("== open\n")) << printed;
  std::string shown = printed.substr(printed.find("== open\n"));
  EXPECT_NE(shown.find("  text field \"pictureName\": cover photo.jpg\n"), std::string::npos)
      << shown;
  EXPECT_NE(shown.find("  text field \"dimensions\": 720 x 360 px\n"), std::string::npos);
  EXPECT_EQ(window.state(), QProcess::Running);
}

// Scribus never waits for tavrine: the program started (here a stand-in that
// notes its picture and its session, then stays) is still running when the
// script has ended, in a session of its own.
TEST_F(Companion, StartsTavrineDetachedWithThePicture) {
  const fs::path marker = dir.path() / "started";
  fs::path program = dir.write("tavrine-standin",
                               "#!/bin/sh\n"
                               "echo \"$1\" > '" +
                                   marker.string() +
                                   ".path'\n"
                                   "cut -d' ' -f1,6 /proc/$$/stat > '" +
                                   marker.string() +
                                   "'\n"
                                   "exec sleep 60\n");
  fs::permissions(program, fs::perms::owner_all);
  environment.insert("TAVRINE", QString::fromStdString(program.string()));
  EXPECT_EQ(run_companion({"cover"}), "");
  QElapsedTimer clock;
  clock.start();
  while (!fs::exists(marker) && clock.elapsed() < 10000) QThread::msleep(50);
  std::ifstream in(marker);
  pid_t pid = 0, session = 0;
  ASSERT_TRUE(in >> pid >> session) << "the stand-in was not started";
  EXPECT_EQ(session, pid) << "tavrine leads a session of its own";
  EXPECT_EQ(kill(pid, 0), 0) << "Scribus's script ended while tavrine runs on";
  kill(pid, SIGKILL);
  std::ifstream path_in(marker.string() + ".path");
  std::string path;
  std::getline(path_in, path);
  EXPECT_EQ(path, (dir.path() / "Jobs/Spring/cover photo.jpg").string());
}

TEST_F(Companion, ExplainsWhatIsMissingAndStartsNothing) {
  start_window();
  EXPECT_EQ(run_companion({}), "Show in tavrine: Select an image frame first.\n");
  EXPECT_EQ(run_companion({"caption"}),
            "Show in tavrine: The selection holds no image frame. Select an image frame first.\n");
  EXPECT_EQ(run_companion({"empty"}),
            "Show in tavrine: The image frame \"empty\" holds no picture.\n");
  EXPECT_FALSE(wait_for("== open\n", 1000)) << printed;
}

}  // namespace
