#include "scriptkit/qt/qt_toolkit.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include "platform/startup.h"

namespace scriptkit::qt {

void QtToolkit::post(std::function<void()> task) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

void QtToolkit::activate() {
  if (m_main) m_main->bring_forward();
}

void QtToolkit::quit() {
  QCoreApplication::quit();
}

bool running_headless() {
  const QString platform = QGuiApplication::platformName();
  return platform == "offscreen" || platform == "minimal";
}

void complete_startup(QWidget& window, const std::string& startup_id) {
  if (startup_id.empty()) return;
  const QString platform = QGuiApplication::platformName();
  if (platform == "wayland") {
    // Qt's Wayland window takes the token from here when it is activated.
    qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(startup_id));
    window.activateWindow();
    return;
  }
  platform::complete_startup(startup_id, platform == "xcb" ? window.winId() : 0);
}

}  // namespace scriptkit::qt
