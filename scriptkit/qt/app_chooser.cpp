#include "scriptkit/qt/app_chooser.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/launch.h"
#include "scriptkit/app/user_defaults.h"
#include "scriptkit/qt/qt_text.h"

namespace scriptkit::qt {
namespace {

constexpr int kPathRole = Qt::UserRole;        // an application row's entry path
constexpr int kSearchRole = Qt::UserRole + 1;  // its folded names, one a line
constexpr const char* kSizeKey = "size of chooser";
constexpr QSize kFirstSize(460, 520);
constexpr int kSmallestSide = 200;  // a kept size below this is not used

QIcon icon_for(const std::string& icon) {
  QString name = to_qt(icon);
  if (name.startsWith('/')) return QIcon(name);
  return QIcon::fromTheme(name, QIcon::fromTheme("application-x-executable"));
}

bool is_application_row(const QListWidgetItem* item) {
  return item != nullptr && !item->data(kPathRole).isNull();
}

void add_heading(QListWidget* list, const QString& text) {
  auto* item = new QListWidgetItem(text, list);
  item->setFlags(Qt::NoItemFlags);
  QFont font = item->font();
  font.setBold(true);
  item->setFont(font);
}

// The recommended applications under their heading, then the others under
// theirs; without recommended ones, the others alone.
void fill_list(QListWidget* list) {
  const std::vector<platform::ApplicationEntry> entries =
      platform::list_applications(platform::chooser_document_type());
  bool headings = !entries.empty() && entries.front().recommended;
  bool in_recommended = false;
  for (const platform::ApplicationEntry& app : entries) {
    if (headings && app.recommended != in_recommended) {
      in_recommended = app.recommended;
      add_heading(list, in_recommended ? QObject::tr("Recommended Applications")
                                       : QObject::tr("Other Applications"));
    }
    auto* item = new QListWidgetItem(icon_for(app.icon), to_qt(app.name), list);
    item->setData(kPathRole, to_qt(app.path));
    item->setData(kSearchRole, to_qt(app.search_text));
  }
}

// The row the user sees selected, or null: a chosen row is always one of these.
QListWidgetItem* visible_selection(QListWidget* list) {
  QListWidgetItem* item = list->currentItem();
  if (!is_application_row(item) || item->isHidden() || !item->isSelected()) return nullptr;
  return item;
}

// After filtering, a selection that is no longer seen moves to the first row
// that is, or goes when no row is left.
void keep_selection_visible(QListWidget* list) {
  if (visible_selection(list) != nullptr) return;
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    if (is_application_row(item) && !item->isHidden()) {
      list->setCurrentItem(item);
      return;
    }
  }
  list->setCurrentItem(nullptr);
  list->clearSelection();
}

// Shows the rows any of whose names holds the text, ignoring case and accents,
// and the headings of groups that still have rows.
void filter(QListWidget* list, const QString& text) {
  const QString key = to_qt(platform::fold_for_search(from_qt(text)));
  QListWidgetItem* heading = nullptr;
  bool group_shown = false;
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    if (!is_application_row(item)) {
      if (heading) heading->setHidden(!group_shown);
      heading = item;
      group_shown = false;
      continue;
    }
    bool shown = item->data(kSearchRole).toString().contains(key);
    item->setHidden(!shown);
    group_shown = group_shown || shown;
  }
  if (heading) heading->setHidden(!group_shown);
  keep_selection_visible(list);
}

// Up and down in the filter field move the list's selection, so that typing
// and then Enter never needs the mouse.
class ArrowForwarder final : public QObject {
 public:
  ArrowForwarder(QObject* parent, QListWidget* list) : QObject(parent), m_list(list) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_PageUp &&
        key != Qt::Key_PageDown)
      return false;
    QKeyEvent copy(QEvent::KeyPress, key, static_cast<QKeyEvent*>(event)->modifiers());
    QCoreApplication::sendEvent(m_list, &copy);
    return true;
  }

 private:
  QListWidget* m_list;
};

QSize kept_size(const app::UserDefaults* defaults) {
  if (defaults == nullptr) return kFirstSize;
  Value value = defaults->get(kSizeKey);
  if (!value.is_list() || value.as_list().size() != 2) return kFirstSize;
  const Value& width = value.as_list()[0];
  const Value& height = value.as_list()[1];
  if (!width.is_integer() || !height.is_integer()) return kFirstSize;
  if (width.as_integer() < kSmallestSide || height.as_integer() < kSmallestSide) return kFirstSize;
  return QSize(static_cast<int>(width.as_integer()), static_cast<int>(height.as_integer()));
}

void keep_size(app::UserDefaults* defaults, QSize size) {
  if (defaults == nullptr || size == kept_size(defaults)) return;
  defaults->set(kSizeKey, Value(ValueList{size.width(), size.height()}));
  defaults->save();
}

// The dialog's parts that the chooser works with.
struct ChooserParts {
  QLineEdit* filter;
  QListWidget* list;
  QPushButton* browse;
  QPushButton* choose;
};

ChooserParts build_dialog(QDialog& dialog, const std::string& message,
                          const std::string& action_label, const std::string& cancel_label) {
  dialog.setWindowTitle(QObject::tr("Open With"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* prompt = new QLabel(to_qt(message), &dialog);
  prompt->setTextFormat(Qt::PlainText);
  layout->addWidget(prompt);
  auto* search = new QLineEdit(&dialog);
  search->setObjectName("filter");
  search->setPlaceholderText(QObject::tr("Filter"));
  search->setClearButtonEnabled(true);
  layout->addWidget(search);
  auto* list = new QListWidget(&dialog);
  list->setObjectName("applications");
  list->setIconSize(QSize(32, 32));
  fill_list(list);
  layout->addWidget(list);
  search->installEventFilter(new ArrowForwarder(&dialog, list));

  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* browse = buttons->addButton(QObject::tr("Browse…"), QDialogButtonBox::ActionRole);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  if (!cancel_label.empty()) cancel->setText(to_qt(cancel_label));
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  QPushButton* choose = buttons->addButton(to_qt(action_label), QDialogButtonBox::ActionRole);
  choose->setObjectName("choose");
  choose->setDefault(true);
  choose->setEnabled(false);
  layout->addWidget(buttons);
  return {search, list, browse, choose};
}

}  // namespace

std::optional<std::string> AppChooser::choose_application(const std::string& message,
                                                          const std::string& action_label,
                                                          const std::string& cancel_label) {
  QDialog dialog;
  const ChooserParts parts = build_dialog(dialog, message, action_label, cancel_label);
  QListWidget* list = parts.list;
  std::optional<std::string> chosen;
  auto choose_visible = [&]() {
    if (QListWidgetItem* item = visible_selection(list)) {
      chosen = from_qt(item->data(kPathRole).toString());
      dialog.accept();
    }
  };
  QObject::connect(parts.filter, &QLineEdit::textChanged, list,
                   [list](const QString& t) { filter(list, t); });
  QObject::connect(list, &QListWidget::itemSelectionChanged, parts.choose,
                   [&]() { parts.choose->setEnabled(visible_selection(list) != nullptr); });
  QObject::connect(list, &QListWidget::itemActivated, &dialog, [&](QListWidgetItem* item) {
    if (is_application_row(item) && !item->isHidden()) list->setCurrentItem(item);
    choose_visible();
  });
  QObject::connect(parts.choose, &QPushButton::clicked, &dialog, choose_visible);
  QObject::connect(parts.browse, &QPushButton::clicked, &dialog, [&]() {
    QString file =
        QFileDialog::getOpenFileName(&dialog, to_qt(message), "/usr/share/applications",
                                     QObject::tr("Applications (*.desktop);;All files (*)"));
    std::string path = from_qt(file);
    if (!path.empty() && platform::is_application(path) && !platform::is_own_application(path)) {
      chosen = path;
      dialog.accept();
    }
  });

  dialog.resize(kept_size(m_defaults));
  parts.filter->setFocus();
  int result = dialog.exec();
  keep_size(m_defaults, dialog.size());
  if (result != QDialog::Accepted) return std::nullopt;
  return chosen;
}

}  // namespace scriptkit::qt
