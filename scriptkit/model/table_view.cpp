#include "scriptkit/model/table.h"

#include <algorithm>
#include <cstdint>

namespace scriptkit::model {

namespace {

Value selected_rows(const Element& e) {
  const auto& rows = static_cast<const TableView&>(e).selected_rows();
  return Value(ValueList(rows.begin(), rows.end()));
}

MaybeError select_row(Element& e, const Value& value) {
  Result<std::int64_t> row = to_integer(value);
  if (failed(row)) return std::get<ScriptError>(row);
  std::int64_t n = std::get<std::int64_t>(row);
  return static_cast<TableView&>(e).select_rows(
      n == 0 ? std::vector<std::int64_t>{} : std::vector{n}, false);
}

MaybeError select_rows(Element& e, const Value& value) {
  std::vector<std::int64_t> rows;
  for (const Value& item : to_list(value)) {
    Result<std::int64_t> row = to_integer(item);
    if (failed(row)) return std::get<ScriptError>(row);
    rows.push_back(std::get<std::int64_t>(row));
  }
  return static_cast<TableView&>(e).select_rows(std::move(rows), false);
}

MaybeError scroll_to_row(Element& e, const Value& value) {
  Result<std::int64_t> row = to_integer(value);
  if (failed(row)) return std::get<ScriptError>(row);
  return static_cast<TableView&>(e).scroll_to_row(std::get<std::int64_t>(row));
}

constexpr Property kTableViewProperties[] = {
    {prop::kDataSource, PropertyType::Element,
     [](const Element& e) {
       return Value(ElementPtr(static_cast<const TableView&>(e).data_source()));
     }},
    {prop::kSelectedRow, PropertyType::Integer,
     [](const Element& e) { return Value(static_cast<const TableView&>(e).selected_row()); },
     select_row},
    {prop::kSelectedRows, PropertyType::List, selected_rows, select_rows},
    {prop::kScrolledRow, PropertyType::Integer,
     [](const Element& e) { return Value(static_cast<const TableView&>(e).scrolled_row()); },
     scroll_to_row},
};

}  // namespace

constinit const PropertyTable TableView::kProperties{&View::kProperties, kTableViewProperties};

Value index_set_value(std::int64_t location, std::int64_t length) {
  return Value(ValueRecord{{"location", Value(location)}, {"length", Value(length)}});
}

TableView::TableView(std::string name)
    : Control(std::move(name)), m_source(std::make_shared<DataSource>()) {
  adopt(m_source);
}

std::size_t TableView::column_count() const {
  std::size_t count = 0;
  for (const ElementPtr& child : children()) count += child->kind() == Kind::TableColumn;
  return count;
}

std::shared_ptr<TableColumn> TableView::column(std::size_t number) const {
  std::size_t seen = 0;
  for (const ElementPtr& child : children()) {
    if (child->kind() == Kind::TableColumn && ++seen == number) {
      return std::static_pointer_cast<TableColumn>(child);
    }
  }
  return nullptr;
}

std::shared_ptr<TableColumn> TableView::column(std::string_view name) const {
  for (const ElementPtr& child : children()) {
    if (child->kind() == Kind::TableColumn && child->name() == name) {
      return std::static_pointer_cast<TableColumn>(child);
    }
  }
  return nullptr;
}

std::shared_ptr<TableColumn> TableView::add_column(std::string name, std::string title) {
  auto column = std::make_shared<TableColumn>(name);
  column->header_cell()->set_title(std::move(title));
  adopt(column);
  for (std::size_t r = 1; r <= m_source->row_count(); ++r) m_source->row(r)->add_cell(name);
  return column;
}

ScriptError TableView::no_row(std::int64_t row) const {
  return ScriptError{kErrCantGet,
                     "Can't get row " + std::to_string(row) + " of " + describe() + "."};
}

MaybeError TableView::select_rows(std::vector<std::int64_t> rows, bool extend) {
  auto count = static_cast<std::int64_t>(m_source->row_count());
  for (std::int64_t row : rows) {
    if (row < 1 || row > count) return no_row(row);
  }
  if (extend) rows.insert(rows.end(), m_selected.begin(), m_selected.end());
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows == m_selected) return std::nullopt;
  m_selected = std::move(rows);
  changed(prop::kSelectedRows);
  return std::nullopt;
}

MaybeError TableView::scroll_to_row(std::int64_t row) {
  if (row < 1 || row > static_cast<std::int64_t>(m_source->row_count())) return no_row(row);
  if (row == m_scrolled) return std::nullopt;
  m_scrolled = row;
  changed(prop::kScrolledRow);
  return std::nullopt;
}

void TableView::rows_changed(std::int64_t at, std::int64_t delta) {
  std::vector<std::int64_t> kept;
  for (std::int64_t row : m_selected) {
    if (delta < 0 && row == at) continue;
    kept.push_back(row >= at ? row + delta : row);
  }
  std::int64_t scrolled = m_scrolled;
  if (delta < 0 && scrolled == at) scrolled = 0;
  if (scrolled >= at && scrolled != 0) scrolled += delta;
  if (kept != m_selected) {
    m_selected = std::move(kept);
    changed(prop::kSelectedRows);
  }
  if (scrolled != m_scrolled) {
    m_scrolled = scrolled;
    changed(prop::kScrolledRow);
  }
}

namespace {

// The 0-based indexes of an index set, a list of indexes or one index, as
// 1-based rows. Fails for a range that reaches past `limit` rows.
Result<std::vector<std::int64_t>> rows_of(const Value& set, std::int64_t limit) {
  std::vector<std::int64_t> rows;
  if (set.is_record()) {
    std::int64_t location = -1, length = -1;
    for (const auto& [key, value] : set.as_record()) {
      Result<std::int64_t> n = to_integer(value);
      if (failed(n)) return std::get<ScriptError>(n);
      if (key == "location") location = std::get<std::int64_t>(n);
      if (key == "length") length = std::get<std::int64_t>(n);
    }
    if (location < 0 || length < 0 || location > limit || length > limit - location) {
      return ScriptError{kErrCantGet, "Can't get rows " + describe_value(set) + "."};
    }
    for (std::int64_t i = 0; i < length; ++i) rows.push_back(location + i + 1);
    return rows;
  }
  for (const Value& item : to_list(set)) {
    Result<std::int64_t> n = to_integer(item);
    if (failed(n)) return std::get<ScriptError>(n);
    std::int64_t index = std::get<std::int64_t>(n);
    if (index < 0 || index >= limit) {
      return ScriptError{kErrCantGet, "Can't get row index " + std::to_string(index) + "."};
    }
    rows.push_back(index + 1);
  }
  return rows;
}

}  // namespace

Result<Value> TableView::select_index_set(std::span<const Value> args) {
  Result<bool> extend = to_boolean(args[1]);
  if (failed(extend)) return std::get<ScriptError>(extend);
  auto rows = rows_of(args[0], static_cast<std::int64_t>(m_source->row_count()));
  if (failed(rows)) return std::get<ScriptError>(rows);
  MaybeError error =
      select_rows(std::get<std::vector<std::int64_t>>(std::move(rows)), std::get<bool>(extend));
  if (error) return *error;
  return Value();
}

Result<Value> TableView::call_method(std::string_view selector, std::span<const Value> args) {
  auto arity = [&](std::size_t n) { return args.size() == n; };
  if (selector == "scrollRowToVisible:" && arity(1)) {
    Result<std::int64_t> index = to_integer(args[0]);
    if (failed(index)) return std::get<ScriptError>(index);
    std::int64_t i = std::get<std::int64_t>(index);
    if (i < 0 || i == INT64_MAX) return no_row(i);
    if (MaybeError error = scroll_to_row(i + 1)) return *error;
    return Value();
  }
  if ((selector == "selectRowIndexes:byExtendingSelection:" ||
       selector == "selectRow:byExtendingSelection:") &&
      arity(2)) {
    return select_index_set(args);
  }
  if (selector == "deselectAll:" && args.size() <= 1) {
    select_rows({}, false);
    return Value();
  }
  if (selector == "numberOfRows" && arity(0)) {
    return Value(static_cast<std::int64_t>(m_source->row_count()));
  }
  return Control::call_method(selector, args);
}

std::shared_ptr<TableView> ScrollView::table_view() const {
  for (const ElementPtr& child : children()) {
    if (child->kind() == Kind::TableView) return std::static_pointer_cast<TableView>(child);
  }
  return nullptr;
}

std::shared_ptr<TableView> ScrollView::add_table_view() {
  auto table = std::make_shared<TableView>(name());
  adopt(table);
  return table;
}

}  // namespace scriptkit::model
