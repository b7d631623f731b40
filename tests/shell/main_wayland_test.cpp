// The program in a Wayland session: a headless Weston of the test's own, no
// X display. The window runs natively (its toplevel and buffer go through
// the Wayland connection, which WAYLAND_DEBUG shows), a second launch hands
// its picture over, and the trigger says once what it cannot watch.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <filesystem>

#include "tests/support/qt_app.h"
#include "tests/support/sandbox.h"

namespace fs = std::filesystem;

namespace {

constexpr char kSocket[] = "tavrine-test";

class WaylandSession : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::qt_application();
    if (QStandardPaths::findExecutable("weston").isEmpty()) GTEST_SKIP() << "needs weston";
    fs::permissions(runtime.path(), fs::perms::owner_all);
    environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path().string()));
    environment.remove("DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    compositor.setProcessEnvironment(environment);
    compositor.start("weston", {"--backend=headless-backend.so", QString("--socket=") + kSocket,
                                "--idle-time=0", "--no-config"});
    if (!compositor.waitForStarted() || !appears(runtime.path() / kSocket)) {
      GTEST_SKIP() << "weston cannot start here";
    }
    environment.insert("WAYLAND_DISPLAY", kSocket);
  }
  void TearDown() override {
    for (QProcess* p : {&first, &compositor}) {
      p->kill();
      p->waitForFinished();
    }
  }

  static bool appears(const fs::path& file) {
    QElapsedTimer clock;
    clock.start();
    while (!fs::exists(file) && clock.elapsed() < 5000) QCoreApplication::processEvents();
    return fs::exists(file);
  }
  // Reads the first launch's standard error until it holds the text.
  bool first_says(const std::string& text) {
    QElapsedTimer clock;
    clock.start();
    while (said.find(text) == std::string::npos && clock.elapsed() < 10000) {
      first.waitForReadyRead(100);
      said += first.readAllStandardError().toStdString();
    }
    return said.find(text) != std::string::npos;
  }
  void launch(QProcess& process, const QStringList& arguments) {
    process.setProgram(QString(TAVRINE_BINARY_DIR) + "/tavrine");
    process.setArguments(arguments);
    process.setProcessEnvironment(environment);
    process.start();
    ASSERT_TRUE(process.waitForStarted());
  }

  testing_support::TempDir runtime;
  QProcessEnvironment environment;
  QProcess compositor;
  QProcess first;
  std::string said;
};

TEST_F(WaylandSession, TheWindowRunsNativelyAndTakesHandOvers) {
  environment.insert("WAYLAND_DEBUG", "client");
  launch(first, {});
  ASSERT_TRUE(first_says("xdg_toplevel@")) << said;
  EXPECT_TRUE(first_says(".set_title(\"Tavrine\")"));
  EXPECT_TRUE(first_says(".attach(wl_buffer@")) << "the window is drawn";

  environment.remove("WAYLAND_DEBUG");
  QProcess second;
  launch(second, {QString::fromStdString((runtime.path() / "pic.png").string())});
  ASSERT_TRUE(second.waitForFinished(20000));
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  EXPECT_EQ(first.state(), QProcess::Running);

  const std::string unwatched = "double-clicks in other programs are not watched";
  EXPECT_TRUE(first_says(unwatched));
  EXPECT_EQ(said.find(unwatched), said.rfind(unwatched)) << "said once";
}

}  // namespace
