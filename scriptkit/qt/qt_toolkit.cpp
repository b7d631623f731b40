#include "scriptkit/qt/qt_toolkit.h"

#include <QCoreApplication>
#include <QGuiApplication>

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

}  // namespace scriptkit::qt
