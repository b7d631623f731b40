#include "scriptkit/qt/table_binding.h"

#include <QHeaderView>

#include "scriptkit/qt/qt_text.h"

namespace scriptkit::qt {

TableBinding::TableBinding(std::shared_ptr<model::ScrollView> scroll, QWidget* parent)
    : TypedBinding(std::move(scroll), parent) {
  m_widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_widget->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_widget->verticalHeader()->setVisible(false);
  QObject::connect(m_widget, &QTableWidget::itemSelectionChanged, m_widget, [this] {
    if (!updating()) take_selection();
  });
}

// Tables here are small, so every change of rows or columns rebuilds them.
void TableBinding::refresh() {
  auto table = m_model->table_view();
  if (!table) return;
  Updating guard(*this);
  const auto columns = static_cast<int>(table->column_count());
  const auto rows = static_cast<int>(table->data_source()->row_count());
  m_widget->clear();
  m_widget->setColumnCount(columns);
  m_widget->setRowCount(rows);
  for (int c = 0; c < columns; ++c) {
    auto column = table->column(static_cast<std::size_t>(c + 1));
    m_widget->setHorizontalHeaderItem(c,
                                      new QTableWidgetItem(to_qt(column->header_cell()->title())));
    m_widget->setColumnWidth(c, column->width());
    for (int r = 0; r < rows; ++r) {
      auto cell = table->data_source()->row(static_cast<std::size_t>(r + 1))->cell(column->name());
      m_widget->setItem(r, c, new QTableWidgetItem(to_qt(cell ? cell->contents() : "")));
    }
  }
  show_selection();
}

void TableBinding::show_selection() {
  auto table = m_model->table_view();
  Updating guard(*this);
  m_widget->clearSelection();
  for (std::int64_t row : table->selected_rows()) m_widget->selectRow(static_cast<int>(row - 1));
  if (table->scrolled_row() > 0 && m_widget->columnCount() > 0) {
    m_widget->scrollToItem(m_widget->item(static_cast<int>(table->scrolled_row() - 1), 0));
  }
}

void TableBinding::take_selection() {
  std::vector<std::int64_t> rows;
  for (const QModelIndex& index : m_widget->selectionModel()->selectedRows()) {
    rows.push_back(index.row() + 1);
  }
  m_model->table_view()->select_rows(std::move(rows), false);
}

void TableBinding::changed(const model::Change& change) {
  ViewBinding::changed(change);
  if (&change.element == m_model.get()) return;
  auto table = m_model->table_view();
  if (table && &change.element == table.get() && change.kind == model::ChangeKind::Property) {
    show_selection();  // selected rows, scrolled row
    return;
  }
  if (change.kind != model::ChangeKind::Update) refresh();
}

}  // namespace scriptkit::qt
