// The words of the window model that a script may write: class names and
// property names, several of them two or three words long ("current menu
// item"). The parser reads the longest of these phrases it finds.
#pragma once

#include <span>
#include <string_view>

namespace scriptkit::model {

// Element class names, singular ("popup button"), and "control".
std::span<const std::string_view> class_names();
// Property names ("current menu item", "selected rows", "header cell"): those
// of every class's property table, each once.
std::span<const std::string_view> property_names();

}  // namespace scriptkit::model
