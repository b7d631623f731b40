// Startup notification on a private X server: the messages a root-window
// watcher sees when a reveal asks the file manager forward, when a launch
// starts an application, and when a second launch of tavrine hands its
// picture to the running one.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QProcess>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "platform/launch.h"
#include "platform/process.h"
#include "platform/startup.h"
#include "reveal/reveal.h"
#include "shell/records.h"
#include "tests/app/qt_app.h"
#include "tests/support/private_bus.h"
#include "tests/support/sandbox.h"
#include "tests/trigger/xvfb.h"

// Last, since Xlib defines names (None, Bool, Status) that Qt and the test
// framework use.
#include <X11/Xlib.h>

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// Collects the startup messages sent to the root window, put together from
// their 20-byte pieces.
class RootWatcher {
 public:
  RootWatcher() : m_display(XOpenDisplay(nullptr)) {
    m_begin = XInternAtom(m_display, "_NET_STARTUP_INFO_BEGIN", False);
    m_more = XInternAtom(m_display, "_NET_STARTUP_INFO", False);
    XSelectInput(m_display, DefaultRootWindow(m_display), PropertyChangeMask);
    XSync(m_display, False);
  }
  ~RootWatcher() { XCloseDisplay(m_display); }

  // The messages complete so far, after waiting up to timeout_ms for one
  // that starts with `prefix`.
  std::vector<std::string> wait_for(const std::string& prefix, int timeout_ms = 5000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!has(prefix) && std::chrono::steady_clock::now() < deadline) {
      while (XPending(m_display)) take(next());
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return m_messages;
  }

 private:
  XEvent next() {
    XEvent event;
    XNextEvent(m_display, &event);
    return event;
  }
  void take(const XEvent& event) {
    if (event.type != ClientMessage) return;
    const auto& message = event.xclient;
    if (message.message_type != m_begin && message.message_type != m_more) return;
    std::string& text = m_partial[message.window];
    if (message.message_type == m_begin) text.clear();
    for (char c : std::string_view(message.data.b, 20)) {
      if (c == '\0') {
        m_messages.push_back(text);
        m_partial.erase(message.window);
        return;
      }
      text += c;
    }
  }
  bool has(const std::string& prefix) const {
    for (const auto& m : m_messages) {
      if (m.starts_with(prefix)) return true;
    }
    return false;
  }

  Display* m_display;
  Atom m_begin = 0, m_more = 0;
  std::map<Window, std::string> m_partial;
  std::vector<std::string> m_messages;
};

class StartupNotification : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!trigger_test::shared_xvfb_display()) GTEST_SKIP() << "needs Xvfb";
    qt_application();
  }
  DesktopSandbox desktop;
};

TEST_F(StartupNotification, MessagesArriveWholeAndQuoted) {
  RootWatcher watcher;
  platform::announce_startup("a long id with spaces_TIME1234", "Files \"two\"");
  platform::complete_startup("a long id with spaces_TIME1234");
  auto messages = watcher.wait_for("remove:");
  EXPECT_EQ(messages, (std::vector<std::string>{
                          "new: ID=\"a long id with spaces_TIME1234\" NAME=\"Files \\\"two\\\"\" "
                          "SCREEN=0",
                          "remove: ID=\"a long id with spaces_TIME1234\""}));
  EXPECT_EQ(platform::startup_time("box-1-2_TIME1234"), 1234u);
  EXPECT_EQ(platform::startup_time("no-time"), 0u);
}

TEST_F(StartupNotification, RevealAnnouncesTheFileManagersStartupBeforeItsRequest) {
  PrivateBus bus(desktop.root(), {});
  bus.start_file_manager();
  fs::path folder = desktop.root() / "Jobs";
  fs::create_directories(folder);
  std::ofstream(folder / "pic.tif") << "II*";
  CopyCStringToPascal((folder / "pic.tif").c_str(), G_INFO.picturePath);
  RootWatcher watcher;
  HandleRevealFolder(0, 0);
  ASSERT_TRUE(settle_file_manager_requests());
  ASSERT_EQ(bus.calls().size(), 1u);
  const std::string call = bus.calls()[0];  // ShowItems|<id>|<uri>
  const std::string id = call.substr(10, call.find('|', 10) - 10);
  ASSERT_NE(id.find("_TIME"), std::string::npos) << call;
  auto messages = watcher.wait_for("new:");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "new: ID=" + id + " NAME=file_manager_st SCREEN=0");
}

TEST_F(StartupNotification, LaunchedApplicationGetsAStartupIdOfItsOwn) {
  fs::path marker = desktop.root() / "launched";
  fs::path program = desktop.root() / "bin" / "editor";
  fs::create_directories(program.parent_path());
  std::ofstream(program) << "#!/bin/sh\necho \"$DESKTOP_STARTUP_ID\" > '" << marker.string()
                         << ".tmp' && mv '" << marker.string() << ".tmp' '" << marker.string()
                         << "'\n";
  fs::permissions(program, fs::perms::owner_all);
  fs::path entry = desktop.add_application("editor", "Editor", program.string() + " %f",
                                           "image/png;", "StartupNotify=true\n");
  fs::path doc = desktop.root() / "pic.png";
  std::ofstream(doc) << "x";
  FSRef app{entry.string(), 0, 0}, item{doc.string(), 0, 0};
  LSLaunchFSRefSpec spec{&app, 1, &item, nullptr, kLSLaunchDefaults, nullptr};
  RootWatcher watcher;
  ASSERT_EQ(LSOpenFromRefSpec(&spec, nullptr), noErr);
  ASSERT_TRUE(wait_for_file(marker));
  const std::string id = read_lines(marker).at(0);
  EXPECT_NE(id.find("_TIME"), std::string::npos) << id;
  auto messages = watcher.wait_for("new:");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "new: ID=" + id + " NAME=Editor SCREEN=0");
}

// The real program on the X server: the second launch's startup id is
// completed by the running window, so the launcher's busy cursor ends.
TEST_F(StartupNotification, HandOverCompletesTheSecondLaunchsStartup) {
  fs::create_directories(desktop.root() / "run");
  fs::permissions(desktop.root() / "run", fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString((desktop.root() / "run").string()));
  env.remove("DESKTOP_STARTUP_ID");
  QProcess first;
  first.setProgram(QString(TAVRINE_BINARY_DIR) + "/tavrine");
  first.setProcessEnvironment(env);
  first.start();
  ASSERT_TRUE(first.waitForStarted());
  ASSERT_TRUE(wait_for_file(desktop.root() / "run" / "tavrine" / "instance"));

  RootWatcher watcher;
  QProcess second;
  env.insert("DESKTOP_STARTUP_ID", "launcher-7-1_TIME4242");
  second.setProgram(QString(TAVRINE_BINARY_DIR) + "/tavrine");
  second.setArguments({QString::fromStdString((desktop.root() / "pic.png").string())});
  second.setProcessEnvironment(env);
  second.start();
  EXPECT_TRUE(second.waitForFinished(20000));
  EXPECT_EQ(second.exitCode(), 0);
  auto messages = watcher.wait_for("remove:");
  first.kill();
  first.waitForFinished();
  EXPECT_NE(std::find(messages.begin(), messages.end(), "remove: ID=launcher-7-1_TIME4242"),
            messages.end());
}

}  // namespace
