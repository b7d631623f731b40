// The program on a private X server, as a desktop sees it: the startup
// messages a root-window watcher sees when a reveal asks the file manager
// forward, when a launch starts an application, and when a second launch of
// tavrine hands its picture to the running one; and one window for any
// number of launches at once.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <thread>

#include "platform/launch.h"
#include "platform/process.h"
#include "platform/startup.h"
#include "reveal/reveal.h"
#include "shell/records.h"
#include "tests/support/private_bus.h"
#include "tests/support/qt_app.h"
#include "tests/support/sandbox.h"
#include "tests/support/xvfb.h"

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

class XDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing_support::shared_xvfb_display()) GTEST_SKIP() << "needs Xvfb";
    qt_application();
  }
  DesktopSandbox desktop;
};

TEST_F(XDesktop, MessagesArriveWholeAndQuoted) {
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

TEST_F(XDesktop, RevealAnnouncesTheFileManagersStartupBeforeItsRequest) {
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

TEST_F(XDesktop, LaunchedApplicationGetsAStartupIdOfItsOwn) {
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

// The environment of the real program on the X server, with a runtime
// folder of the test's own.
QProcessEnvironment program_environment(const fs::path& root) {
  fs::create_directories(root / "run");
  fs::permissions(root / "run", fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString((root / "run").string()));
  env.remove("DESKTOP_STARTUP_ID");
  return env;
}

void launch(QProcess& process, const QProcessEnvironment& env, const QStringList& arguments) {
  process.setProgram(QString(TAVRINE_BINARY_DIR) + "/tavrine");
  process.setArguments(arguments);
  process.setProcessEnvironment(env);
  process.start();
}

// The top-level windows of the X server with that name.
int windows_named(const std::string& name) {
  Display* display = XOpenDisplay(nullptr);
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  int found = 0;
  XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
  for (unsigned int i = 0; i < count; ++i) {
    char* title = nullptr;
    if (XFetchName(display, children[i], &title) && title) {
      found += name == title;
      XFree(title);
    }
  }
  if (children) XFree(children);
  XCloseDisplay(display);
  return found;
}

// The real program on the X server: the second launch's startup id is
// completed by the running window, so the launcher's busy cursor ends.
TEST_F(XDesktop, HandOverCompletesTheSecondLaunchsStartup) {
  QProcessEnvironment env = program_environment(desktop.root());
  QProcess first;
  launch(first, env, {});
  ASSERT_TRUE(first.waitForStarted());
  ASSERT_TRUE(wait_for_file(desktop.root() / "run" / "tavrine" / "instance"));

  RootWatcher watcher;
  QProcess second;
  env.insert("DESKTOP_STARTUP_ID", "launcher-7-1_TIME4242");
  launch(second, env, {QString::fromStdString((desktop.root() / "pic.png").string())});
  EXPECT_TRUE(second.waitForFinished(20000));
  EXPECT_EQ(second.exitCode(), 0);
  auto messages = watcher.wait_for("remove:");
  first.kill();
  first.waitForFinished();
  EXPECT_NE(std::find(messages.begin(), messages.end(), "remove: ID=launcher-7-1_TIME4242"),
            messages.end());
}

TEST_F(XDesktop, FiveLaunchesAtOnceGiveOneWindow) {
  QProcessEnvironment env = program_environment(desktop.root());
  std::vector<std::unique_ptr<QProcess>> launches;
  for (int i = 1; i <= 5; ++i) {
    launches.push_back(std::make_unique<QProcess>());
    fs::path picture = desktop.root() / ("pic" + std::to_string(i) + ".png");
    std::ofstream(picture) << "x";
    launch(*launches.back(), env, {QString::fromStdString(picture.string())});
  }
  auto handed_over = [&] {
    return std::count_if(launches.begin(), launches.end(), [](const auto& p) {
      return p->state() == QProcess::NotRunning && p->exitCode() == 0;
    });
  };
  QElapsedTimer clock;
  clock.start();
  while ((handed_over() < 4 || windows_named("Tavrine") == 0) && clock.elapsed() < 15000) {
    for (auto& process : launches) process->waitForFinished(50);
  }
  for (auto& process : launches) process->waitForFinished(200);  // a late fifth would show here
  EXPECT_EQ(handed_over(), 4) << "all but the one that runs";
  EXPECT_EQ(windows_named("Tavrine"), 1);
  for (auto& process : launches) {
    process->kill();
    process->waitForFinished();
  }
}

}  // namespace
