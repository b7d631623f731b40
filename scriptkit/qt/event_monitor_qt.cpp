#include "scriptkit/qt/event_monitor_qt.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QStyleHints>
#include <memory>

#include "platform/input.h"

namespace scriptkit::qt {
namespace {

// Watches the monitor's connection: whenever it has events, the monitor
// reads them all and runs its handlers, here on the event loop's thread.
class NotifierHost final : public platform::EventMonitorHost {
 public:
  void watch_descriptor(int fd) override {
    m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [] { platform::dispatch_event_monitor(); });
  }

 private:
  std::unique_ptr<QSocketNotifier> m_notifier;
};

void pass_on_double_click_settings() {
  const QStyleHints* hints = QGuiApplication::styleHints();
  platform::set_double_click_settings(hints->mouseDoubleClickInterval(),
                                      hints->mouseDoubleClickDistance());
}

}  // namespace

void host_event_monitor() {
  static NotifierHost host;
  pass_on_double_click_settings();
  QObject::connect(QGuiApplication::styleHints(), &QStyleHints::mouseDoubleClickIntervalChanged,
                   QGuiApplication::instance(), [](int) { pass_on_double_click_settings(); });
  platform::install_backing(&host);
}

}  // namespace scriptkit::qt
