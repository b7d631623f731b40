#include "scriptkit/model/table.h"

#include <algorithm>

#include "scriptkit/model/property_helpers.h"

namespace scriptkit::model {

using detail::apply_properties;
using detail::set_integer;
using detail::set_text;

void HeaderCell::set_title(std::string title) {
  if (title == m_title) return;
  m_title = std::move(title);
  changed("title");
}

Result<Value> HeaderCell::get(std::string_view property) {
  if (property == "title" || property == "contents") return Value(m_title);
  return Element::get(property);
}

MaybeError HeaderCell::set(std::string_view property, const Value& value) {
  if (property == "title" || property == "contents") {
    return set_text(value, [&](std::string t) { set_title(std::move(t)); });
  }
  return Element::set(property, value);
}

TableColumn::TableColumn(std::string name)
    : Element(std::move(name)), m_header(std::make_shared<HeaderCell>()) {
  adopt(m_header);
}

void TableColumn::set_width(std::int32_t width) {
  if (width == m_width) return;
  m_width = width;
  changed("width");
}

Result<Value> TableColumn::get(std::string_view property) {
  if (property == "header cell") return Value(ElementPtr(m_header));
  if (property == "identifier") return Value(name());
  if (property == "width") return Value(std::int64_t{m_width});
  return Element::get(property);
}

MaybeError TableColumn::set(std::string_view property, const Value& value) {
  if (property == "width") {
    return set_integer(value, [&](std::int64_t w) {
      set_width(static_cast<std::int32_t>(std::clamp<std::int64_t>(w, 0, 1 << 20)));
    });
  }
  return Element::set(property, value);
}

void DataCell::set_contents(std::string contents) {
  if (contents == m_contents) return;
  m_contents = std::move(contents);
  changed("contents");
}

Result<Value> DataCell::get(std::string_view property) {
  if (property == "contents" || property == "content") return Value(m_contents);
  return Element::get(property);
}

MaybeError DataCell::set(std::string_view property, const Value& value) {
  if (property == "contents" || property == "content") {
    return set_text(value, [&](std::string t) { set_contents(std::move(t)); });
  }
  return Element::set(property, value);
}

std::shared_ptr<DataCell> DataRow::cell(std::string_view column) const {
  for (const ElementPtr& child : children()) {
    if (child->name() == column) return std::static_pointer_cast<DataCell>(child);
  }
  return nullptr;
}

std::shared_ptr<DataCell> DataRow::add_cell(std::string column) {
  auto cell = std::make_shared<DataCell>(std::move(column));
  adopt(cell);
  return cell;
}

Result<Value> DataRow::get(std::string_view property) {
  if (property == "contents") {
    ValueList contents;
    for (const ElementPtr& child : children()) {
      contents.emplace_back(static_cast<DataCell&>(*child).contents());
    }
    return Value(std::move(contents));
  }
  return Element::get(property);
}

MaybeError DataRow::set(std::string_view property, const Value& value) {
  if (property != "contents") return Element::set(property, value);
  ValueList items = to_list(value);
  if (items.size() > cell_count()) return cant_set(property, value);
  std::vector<std::string> texts;
  for (const Value& item : items) {
    Result<std::string> text = to_text(item);
    if (failed(text)) return std::get<ScriptError>(text);
    texts.push_back(std::get<std::string>(std::move(text)));
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    static_cast<DataCell&>(*children()[i]).set_contents(std::move(texts[i]));
  }
  return std::nullopt;
}

Result<ElementPtr> DataRow::make(std::string_view class_name, Position at,
                                 const ValueRecord& properties) {
  if (class_name != "data cell") return Element::make(class_name, at, properties);
  auto cell = std::make_shared<DataCell>();
  if (MaybeError error = apply_properties(*cell, properties)) return *error;
  adopt(cell, at == Position::Beginning ? 0 : children().size());
  return ElementPtr(cell);
}

TableView* DataSource::table() const {
  return dynamic_cast<TableView*>(parent());
}

std::shared_ptr<DataRow> DataSource::row(std::size_t number) const {
  if (number == 0 || number > children().size()) return nullptr;
  return std::static_pointer_cast<DataRow>(children()[number - 1]);
}

std::shared_ptr<DataRow> DataSource::add_row(Position at) {
  auto row = std::make_shared<DataRow>();
  if (TableView* t = table()) {
    for (std::size_t i = 1; i <= t->column_count(); ++i) row->add_cell(t->column(i)->name());
  }
  std::size_t position = at == Position::Beginning ? 0 : children().size();
  adopt(row, position);
  if (TableView* t = table()) t->rows_changed(static_cast<std::int64_t>(position) + 1, 1);
  return row;
}

void DataSource::remove_row(DataRow& row) {
  std::int64_t number = static_cast<std::int64_t>(row.index());
  if (row.parent() != this || !drop(row)) return;
  if (TableView* t = table()) t->rows_changed(number, -1);
}

void DataSource::remove_all_rows() {
  while (!children().empty()) remove_row(static_cast<DataRow&>(*children().back()));
}

Result<ElementPtr> DataSource::make(std::string_view class_name, Position at,
                                    const ValueRecord& properties) {
  if (class_name != "data row") return Element::make(class_name, at, properties);
  // The properties are checked on a loose row first, so a failure adds nothing.
  auto trial = std::make_shared<DataRow>();
  if (TableView* t = table()) {
    for (std::size_t i = 1; i <= t->column_count(); ++i) trial->add_cell(t->column(i)->name());
  }
  if (MaybeError error = apply_properties(*trial, properties)) return *error;
  auto row = add_row(at);
  apply_properties(*row, properties);
  return ElementPtr(row);
}

MaybeError DataSource::remove(Element& child) {
  if (child.parent() != this) return Element::remove(child);
  remove_row(static_cast<DataRow&>(child));
  return std::nullopt;
}

}  // namespace scriptkit::model
