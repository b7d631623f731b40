#include "scriptkit/model/vocabulary.h"

#include <string>

namespace scriptkit::model {
namespace {

constexpr std::string_view kClassNames[] = {
    "application", "window",     "box",          "button",      "popup button",
    "menu",        "menu item",  "text field",   "image view",  "progress indicator",
    "scroll view", "table view", "table column", "header cell", "data source",
    "data row",    "data cell",  "control",
};

constexpr std::string_view kPropertyNames[] = {
    "name",
    "class",
    "index",
    "bounds",
    "visible",
    "enabled",
    "title",
    "state",
    "button type",
    "contents",
    "content",
    "string value",
    "editable",
    "image",
    "animating",
    "menu",
    "current menu item",
    "separator item",
    "header cell",
    "identifier",
    "width",
    "data source",
    "selected row",
    "selected rows",
    "scrolled row",
};

}  // namespace

std::span<const std::string_view> class_names() {
  return kClassNames;
}

std::span<const std::string_view> property_names() {
  return kPropertyNames;
}

std::string_view singular_of(std::string_view plural) {
  if (plural.size() < 2 || plural.back() != 's') return {};
  std::string_view stem = plural.substr(0, plural.size() - 1);
  if (plural == "boxes") stem = "box";
  for (std::string_view name : kClassNames) {
    if (name == stem) return name;
  }
  return {};
}

}  // namespace scriptkit::model
