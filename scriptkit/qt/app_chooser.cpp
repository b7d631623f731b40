#include "scriptkit/qt/app_chooser.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/launch.h"

namespace scriptkit::qt {
namespace {

QIcon icon_for(const std::string& icon) {
  QString name = QString::fromStdString(icon);
  if (name.startsWith('/')) return QIcon(name);
  return QIcon::fromTheme(name, QIcon::fromTheme("application-x-executable"));
}

QListWidget* make_list(QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setIconSize(QSize(32, 32));
  for (const platform::ApplicationEntry& app : platform::list_applications()) {
    auto* item = new QListWidgetItem(icon_for(app.icon), QString::fromStdString(app.name), list);
    item->setData(Qt::UserRole, QString::fromStdString(app.path));
  }
  return list;
}

void filter(QListWidget* list, const QString& text) {
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    item->setHidden(!item->text().contains(text, Qt::CaseInsensitive));
  }
}

}  // namespace

std::optional<std::string> AppChooser::choose_application(const std::string& message,
                                                          const std::string& action_label,
                                                          const std::string& cancel_label) {
  QDialog dialog;
  dialog.setWindowTitle(QObject::tr("Open With"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* prompt = new QLabel(QString::fromStdString(message), &dialog);
  prompt->setTextFormat(Qt::PlainText);
  layout->addWidget(prompt);
  auto* search = new QLineEdit(&dialog);
  search->setPlaceholderText(QObject::tr("Filter"));
  search->setClearButtonEnabled(true);
  layout->addWidget(search);
  QListWidget* list = make_list(&dialog);
  layout->addWidget(list);

  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* browse = buttons->addButton(QObject::tr("Browse…"), QDialogButtonBox::ActionRole);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  if (!cancel_label.empty()) cancel->setText(QString::fromStdString(cancel_label));
  QPushButton* choose = buttons->addButton(QString::fromStdString(action_label), QDialogButtonBox::AcceptRole);
  choose->setDefault(true);
  choose->setEnabled(false);
  layout->addWidget(buttons);

  std::optional<std::string> chosen;
  QObject::connect(search, &QLineEdit::textChanged, list, [list](const QString& t) { filter(list, t); });
  QObject::connect(list, &QListWidget::currentItemChanged, choose,
                   [choose](QListWidgetItem* current) { choose->setEnabled(current != nullptr); });
  QObject::connect(list, &QListWidget::itemActivated, &dialog, [&](QListWidgetItem*) { dialog.accept(); });
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(browse, &QPushButton::clicked, &dialog, [&]() {
    QString file = QFileDialog::getOpenFileName(&dialog, QString::fromStdString(message), "/usr/share/applications",
                                                QObject::tr("Applications (*.desktop);;All files (*)"));
    if (!file.isEmpty() && platform::is_application(file.toStdString())) {
      chosen = file.toStdString();
      dialog.done(QDialog::Accepted);
    }
  });

  dialog.resize(420, 480);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  if (chosen) return chosen;
  QListWidgetItem* item = list->currentItem();
  if (item == nullptr) return std::nullopt;
  return item->data(Qt::UserRole).toString().toStdString();
}

}  // namespace scriptkit::qt
