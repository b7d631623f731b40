#include "scriptkit/model/vocabulary.h"

#include <algorithm>
#include <vector>

#include "scriptkit/model/model.h"

namespace scriptkit::model {
namespace {

// Every class's table; together they hold every property a script can name.
constexpr const PropertyTable* kTables[] = {
    &Element::kProperties,    &Framed::kProperties,      &View::kProperties,
    &Box::kProperties,        &Window::kProperties,      &Button::kProperties,
    &TextField::kProperties,  &ImageView::kProperties,   &ProgressIndicator::kProperties,
    &MenuItem::kProperties,   &Menu::kProperties,        &PopUpButton::kProperties,
    &HeaderCell::kProperties, &TableColumn::kProperties, &DataCell::kProperties,
    &DataRow::kProperties,    &TableView::kProperties,
};

}  // namespace

std::span<const std::string_view> class_names() {
  static const std::vector<std::string_view> names = [] {
    std::vector<std::string_view> all;
    for (int kind = 0; kind <= static_cast<int>(Kind::DataCell); ++kind) {
      all.push_back(class_name_of(static_cast<Kind>(kind)));
    }
    all.push_back(cls::kControl);
    return all;
  }();
  return names;
}

std::span<const std::string_view> property_names() {
  static const std::vector<std::string_view> names = [] {
    std::vector<std::string_view> all;
    for (const PropertyTable* table : kTables) {
      for (const Property& property : table->own) {
        if (std::find(all.begin(), all.end(), property.name) == all.end())
          all.push_back(property.name);
      }
    }
    return all;
  }();
  return names;
}

}  // namespace scriptkit::model
