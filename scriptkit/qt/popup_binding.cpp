#include "scriptkit/qt/popup_binding.h"

#include <QStandardItemModel>

#include "scriptkit/qt/qt_text.h"

namespace scriptkit::qt {

PopUpBinding::PopUpBinding(std::shared_ptr<model::PopUpButton> popup, QWidget* parent,
                           app::ViewEvents& events)
    : TypedBinding(std::move(popup), parent) {
  QObject::connect(m_widget, &QComboBox::activated, m_widget, [this, &events](int row) {
    if (updating() || row < 0) return;
    auto item = m_model->menu()->item(static_cast<std::size_t>(row));
    if (!item || item->separator()) return;
    m_model->set_current_item(item);
    events.chose_menu_item(*m_model);
  });
}

// The rows are few, so every change of them rebuilds the list.
void PopUpBinding::refresh() {
  Updating guard(*this);
  m_widget->clear();
  auto* rows = qobject_cast<QStandardItemModel*>(m_widget->model());
  const auto& menu = *m_model->menu();
  for (std::size_t i = 0; i < menu.item_count(); ++i) {
    auto item = menu.item(i);
    if (item->separator()) {
      m_widget->insertSeparator(m_widget->count());
      continue;
    }
    m_widget->addItem(to_qt(item->title()));
    if (!item->enabled() && rows) rows->item(m_widget->count() - 1)->setEnabled(false);
  }
  show_current();
}

void PopUpBinding::show_current() {
  Updating guard(*this);
  m_widget->setCurrentIndex(static_cast<int>(m_model->current_index()) - 1);
}

void PopUpBinding::changed(const model::Change& change) {
  ViewBinding::changed(change);
  if (&change.element == m_model.get()) {
    if (change.property == model::prop::kCurrentMenuItem) show_current();
    return;
  }
  // The menu's rows came or went, or a row's title or state changed.
  if (change.kind != model::ChangeKind::Update) refresh();
}

}  // namespace scriptkit::qt
