#include "scriptkit/model/table.h"

#include <algorithm>

namespace scriptkit::model {
namespace {

constexpr Property kHeaderTitle =
    plain_property<&HeaderCell::title, &HeaderCell::set_title>(prop::kTitle);
constexpr Property kHeaderCellProperties[] = {kHeaderTitle, alias(kHeaderTitle, prop::kContents)};

MaybeError set_column_width(Element& e, const Value& value) {
  return detail::apply(to_integer(value), [&](std::int64_t w) {
    static_cast<TableColumn&>(e).set_width(
        static_cast<std::int32_t>(std::clamp<std::int64_t>(w, 0, 1 << 20)));
  });
}

constexpr Property kTableColumnProperties[] = {
    {prop::kHeaderCell, PropertyType::Element,
     [](const Element& e) {
       return Value(ElementPtr(static_cast<const TableColumn&>(e).header_cell()));
     }},
    plain_property<&TableColumn::name>(prop::kIdentifier),
    {prop::kWidth, PropertyType::Integer,
     [](const Element& e) { return Value(static_cast<const TableColumn&>(e).width()); },
     set_column_width},
};

constexpr Property kDataCellContents =
    plain_property<&DataCell::contents, &DataCell::set_contents>(prop::kContents);
constexpr Property kDataCellProperties[] = {kDataCellContents,
                                            alias(kDataCellContents, prop::kContent)};

Value row_contents(const Element& row) {
  ValueList contents;
  for (const ElementPtr& child : row.children()) {
    contents.emplace_back(static_cast<DataCell&>(*child).contents());
  }
  return Value(std::move(contents));
}

MaybeError set_row_contents(Element& row, const Value& value) {
  ValueList items = to_list(value);
  if (items.size() > row.children().size()) return row.cant_set(prop::kContents, value);
  std::vector<std::string> texts;
  for (const Value& item : items) {
    Result<std::string> text = to_text(item);
    if (failed(text)) return std::get<ScriptError>(text);
    texts.push_back(std::get<std::string>(std::move(text)));
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    static_cast<DataCell&>(*row.children()[i]).set_contents(std::move(texts[i]));
  }
  return std::nullopt;
}

constexpr Property kDataRowProperties[] = {
    {prop::kContents, PropertyType::List, row_contents, set_row_contents},
};

}  // namespace

using detail::apply_properties;

constinit const PropertyTable HeaderCell::kProperties{&Element::kProperties, kHeaderCellProperties};
constinit const PropertyTable TableColumn::kProperties{&Element::kProperties,
                                                       kTableColumnProperties};
constinit const PropertyTable DataCell::kProperties{&Element::kProperties, kDataCellProperties};
constinit const PropertyTable DataRow::kProperties{&Element::kProperties, kDataRowProperties};

TableColumn::TableColumn(std::string name)
    : Element(std::move(name)), m_header(std::make_shared<HeaderCell>()) {
  adopt(m_header);
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

Result<ElementPtr> DataRow::make(std::string_view class_name, Position at,
                                 const ValueRecord& properties) {
  if (class_name != cls::kDataCell) return Element::make(class_name, at, properties);
  auto cell = std::make_shared<DataCell>();
  if (MaybeError error = apply_properties(*cell, properties)) return *error;
  adopt(cell, at == Position::Beginning ? 0 : children().size());
  return ElementPtr(cell);
}

TableView* DataSource::table() const {
  return dynamic_cast<TableView*>(parent());
}

std::shared_ptr<DataRow> DataSource::loose_row() const {
  auto row = std::make_shared<DataRow>();
  if (TableView* t = table()) {
    for (std::size_t i = 1; i <= t->column_count(); ++i) row->add_cell(t->column(i)->name());
  }
  return row;
}

std::shared_ptr<DataRow> DataSource::add_row(Position at) {
  auto row = loose_row();
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

Result<ElementPtr> DataSource::make(std::string_view class_name, Position at,
                                    const ValueRecord& properties) {
  if (class_name != cls::kDataRow) return Element::make(class_name, at, properties);
  // The properties are checked on a loose row first, so a failure adds nothing.
  if (MaybeError error = apply_properties(*loose_row(), properties)) return *error;
  auto row = add_row(at);
  apply_properties(*row, properties);
  return ElementPtr(row);
}

}  // namespace scriptkit::model
