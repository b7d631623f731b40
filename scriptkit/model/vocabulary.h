// The words of the window model that a script may write: class names and
// property names, several of them two or three words long ("current menu
// item"). The parser reads the longest of these phrases it finds.
#pragma once

#include <span>
#include <string_view>

namespace scriptkit::model {

// Element class names, singular ("popup button").
std::span<const std::string_view> class_names();
// Property names ("current menu item", "selected rows", "header cell").
std::span<const std::string_view> property_names();
// The singular of a class name's plural ("menu items" -> "menu item"), or an
// empty view when the word is no plural of a class name.
std::string_view singular_of(std::string_view plural);

}  // namespace scriptkit::model
