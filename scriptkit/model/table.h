// Tables: a scroll view holding a table view (both usually of one name), the
// table's columns with their header cells, and its data source of data rows,
// each holding one data cell per column (named after the column).
//
// Row numbers here are 1-based, as a script counts them. The table view's
// Cocoa-style methods (`call method "scrollRowToVisible:" of object t`) take
// 0-based row indexes, as those methods always have, and convert.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scriptkit/model/names.h"
#include "scriptkit/model/view.h"

namespace scriptkit::model {

class TableView;

class HeaderCell : public Element {
 public:
  using Element::Element;
  Kind kind() const override { return Kind::HeaderCell; }

  const std::string& title() const { return m_title; }
  void set_title(std::string title) { assign(m_title, std::move(title), prop::kTitle); }

  // title, also called contents.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }

 protected:
  bool is_singleton() const override { return true; }

 private:
  std::string m_title;
};

class TableColumn : public Element {
 public:
  // The name is the column's identifier; data cells of rows carry it.
  explicit TableColumn(std::string name = {});
  Kind kind() const override { return Kind::TableColumn; }

  const std::shared_ptr<HeaderCell>& header_cell() const { return m_header; }
  std::int32_t width() const { return m_width; }
  void set_width(std::int32_t width) { assign(m_width, width, prop::kWidth); }

  // header cell and identifier (the name), read only; width, held between 0
  // and 2^20.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }

 private:
  std::shared_ptr<HeaderCell> m_header;
  std::int32_t m_width = 100;
};

class DataCell : public Element {
 public:
  using Element::Element;
  Kind kind() const override { return Kind::DataCell; }

  const std::string& contents() const { return m_contents; }
  void set_contents(std::string contents) {
    assign(m_contents, std::move(contents), prop::kContents);
  }

  // contents, also called content.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }

 private:
  std::string m_contents;
};

class DataRow : public Element {
 public:
  using Element::Element;
  Kind kind() const override { return Kind::DataRow; }

  std::size_t cell_count() const { return children().size(); }
  // The cell of a column by the column's name, or nullptr.
  std::shared_ptr<DataCell> cell(std::string_view column) const;
  std::shared_ptr<DataCell> add_cell(std::string column);

  // contents: the list of the cells' contents; setting it to a list fills
  // the cells in order, setting it to a single value fills the first cell.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }
  Result<ElementPtr> make(std::string_view class_name, Position at,
                          const ValueRecord& properties) override;
};

class DataSource : public ItemList<DataRow> {
 public:
  using ItemList::ItemList;
  Kind kind() const override { return Kind::DataSource; }

  std::size_t row_count() const { return children().size(); }
  // The row at a 1-based row number, or nullptr.
  std::shared_ptr<DataRow> row(std::size_t number) const {
    return number == 0 ? nullptr : nth(number - 1);
  }
  // Adds a row with one empty cell for each of the table's columns.
  std::shared_ptr<DataRow> add_row(Position at = Position::End);
  void remove_row(DataRow& row);

  Result<ElementPtr> make(std::string_view class_name, Position at,
                          const ValueRecord& properties) override;

 private:
  void remove_one(DataRow& row) override { remove_row(row); }
  TableView* table() const;
  // A row with one empty cell for each of the table's columns, outside the table.
  std::shared_ptr<DataRow> loose_row() const;
};

class TableView : public Control {
 public:
  explicit TableView(std::string name = {});
  Kind kind() const override { return Kind::TableView; }

  std::size_t column_count() const;
  // The column at a 1-based number, or by name; nullptr when there is none.
  std::shared_ptr<TableColumn> column(std::size_t number) const;
  std::shared_ptr<TableColumn> column(std::string_view name) const;
  // Adds a column (and an empty cell for it in every row).
  std::shared_ptr<TableColumn> add_column(std::string name, std::string title = {});
  const std::shared_ptr<DataSource>& data_source() const { return m_source; }

  // Selected row numbers, ascending, without repeats.
  const std::vector<std::int64_t>& selected_rows() const { return m_selected; }
  // The first selected row, 0 when none is.
  std::int64_t selected_row() const { return m_selected.empty() ? 0 : m_selected.front(); }
  // Fails (and changes nothing) when a row does not exist.
  MaybeError select_rows(std::vector<std::int64_t> rows, bool extend);
  // The row last scrolled into view, 0 when none was.
  std::int64_t scrolled_row() const { return m_scrolled; }
  MaybeError scroll_to_row(std::int64_t row);

  // data source, read only; selected row (0 for none), selected rows,
  // scrolled row.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }
  // scrollRowToVisible:, selectRowIndexes:byExtendingSelection:,
  // selectRow:byExtendingSelection:, deselectAll:, numberOfRows.
  Result<Value> call_method(std::string_view selector, std::span<const Value> args) override;

 private:
  friend class DataSource;
  void rows_changed(std::int64_t at, std::int64_t delta);
  ScriptError no_row(std::int64_t row) const;
  Result<Value> select_index_set(std::span<const Value> args);

  std::shared_ptr<DataSource> m_source;
  std::vector<std::int64_t> m_selected;
  std::int64_t m_scrolled = 0;
};

class ScrollView : public View {
 public:
  using View::View;
  Kind kind() const override { return Kind::ScrollView; }

  // The table view inside, or nullptr.
  std::shared_ptr<TableView> table_view() const;
  // Puts a new table view of the same name inside.
  std::shared_ptr<TableView> add_table_view();
  void add(std::shared_ptr<View> view) { adopt(std::move(view)); }
};

// An index set as the script handles it (`indexSetWithIndexesInRange:`): a
// record {location:n, length:m} of 0-based indexes.
Value index_set_value(std::int64_t location, std::int64_t length);

}  // namespace scriptkit::model
