// The double-click monitor driven by the Qt event loop: clicks made on a
// private X server reach the monitor's handlers while the loop runs.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include "platform/input.h"
#include "scriptkit/qt/event_monitor_qt.h"
#include "tests/support/qt_app.h"

namespace {

const EventTypeSpec kMouseDown[] = {{kEventClassMouse, kEventMouseDown}};

OSStatus record_click(EventHandlerCallRef, EventRef event, void* user_data) {
  UInt32 count = 0;
  GetEventParameter(event, kEventParamClickCount, typeUInt32, nullptr, sizeof count, nullptr,
                    &count);
  static_cast<std::vector<UInt32>*>(user_data)->push_back(count);
  return noErr;
}

class EventMonitorHost : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::qt_application();
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("xdotool").isEmpty()) {
      GTEST_SKIP() << "needs Xvfb and xdotool";
    }
    // Xvfb picks a free display and writes its number on standard output.
    server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "320x240x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForReadyRead(10000));
    display = ":" + QString::fromLatin1(server.readAllStandardOutput()).trimmed();
    previous_display = qgetenv("DISPLAY");
    qputenv("DISPLAY", display.toLatin1());
  }
  void TearDown() override {
    platform::reset_event_monitor();
    if (previous_display.isEmpty()) {
      qunsetenv("DISPLAY");
    } else {
      qputenv("DISPLAY", previous_display);
    }
    server.kill();
    server.waitForFinished();
  }

  QProcess server;
  QString display;
  QByteArray previous_display;
  // Puts back, after the test, the host there before it.
  platform::ScopedBacking<platform::EventMonitorHost> host_before{nullptr};
};

TEST_F(EventMonitorHost, DeliversClicksFromTheEventLoop) {
  scriptkit::qt::host_event_monitor();
  std::vector<UInt32> counts;
  ASSERT_EQ(
      InstallEventHandler(GetEventMonitorTarget(), record_click, 1, kMouseDown, &counts, nullptr),
      noErr)
      << platform::event_monitor_failure();
  ASSERT_GE(platform::event_monitor_descriptor(), 0);

  QProcess clicks;
  clicks.start("xdotool",
               {"mousemove", "100", "100", "click", "--repeat", "2", "--delay", "60", "1"});
  ASSERT_TRUE(clicks.waitForFinished(10000));
  QElapsedTimer clock;
  clock.start();
  while (counts.size() < 2 && clock.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  // The second press counts as a double-click: the desktop's double-click
  // time (Qt's default 400 ms) was handed to the monitor.
  EXPECT_EQ(counts, (std::vector<UInt32>{1, 2}));
}

}  // namespace
