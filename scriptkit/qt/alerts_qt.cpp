#include "scriptkit/qt/alerts_qt.h"

#include <QApplication>
#include <QMessageBox>

#include "scriptkit/qt/qt_text.h"

namespace scriptkit::qt {

void QtAlerts::beep() {
  QApplication::beep();
}

void QtAlerts::alert(SInt16 type, const std::string& message, const std::string& explanation) {
  QMessageBox box;
  switch (type) {
    case kAlertStopAlert:
      box.setIcon(QMessageBox::Critical);
      break;
    case kAlertCautionAlert:
      box.setIcon(QMessageBox::Warning);
      break;
    case kAlertPlainAlert:
      box.setIcon(QMessageBox::NoIcon);
      break;
    default:
      box.setIcon(QMessageBox::Information);
      break;
  }
  // The messages may name files: never read them as HTML.
  box.setTextFormat(Qt::PlainText);
  box.setText(to_qt(message));
  box.setInformativeText(plain_text_for_display(to_qt(explanation)));
  box.setStandardButtons(QMessageBox::Ok);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
}

}  // namespace scriptkit::qt
