// The script's names of the window model's classes and properties, each
// spelled once. Scripts write them in lower case with single spaces; the
// model, the Qt bindings, the text printer and the layout loader all say them
// through these constants.
#pragma once

#include <string_view>

namespace scriptkit::model {

// Element classes, singular.
namespace cls {
inline constexpr std::string_view kApplication = "application";
inline constexpr std::string_view kWindow = "window";
inline constexpr std::string_view kBox = "box";
inline constexpr std::string_view kButton = "button";
inline constexpr std::string_view kPopUpButton = "popup button";
inline constexpr std::string_view kMenu = "menu";
inline constexpr std::string_view kMenuItem = "menu item";
inline constexpr std::string_view kTextField = "text field";
inline constexpr std::string_view kImageView = "image view";
inline constexpr std::string_view kProgressIndicator = "progress indicator";
inline constexpr std::string_view kScrollView = "scroll view";
inline constexpr std::string_view kTableView = "table view";
inline constexpr std::string_view kTableColumn = "table column";
inline constexpr std::string_view kHeaderCell = "header cell";
inline constexpr std::string_view kDataSource = "data source";
inline constexpr std::string_view kDataRow = "data row";
inline constexpr std::string_view kDataCell = "data cell";
// The wider name every control answers to.
inline constexpr std::string_view kControl = "control";
}  // namespace cls

// The words for a view that no script class has: the layout and the window's
// text use them for a button drawn as a check box, a text field that only
// shows a text, and a pop-up row that only divides.
namespace shown {
inline constexpr std::string_view kCheckBox = "check box";
inline constexpr std::string_view kLabel = "label";
inline constexpr std::string_view kSeparator = "separator";
}  // namespace shown

// Properties. The three that hold an element (the menu of a pop-up, the
// header cell of a column, the data source of a table) are named after its
// class.
namespace prop {
inline constexpr std::string_view kName = "name";
inline constexpr std::string_view kClass = "class";
inline constexpr std::string_view kIndex = "index";
inline constexpr std::string_view kBounds = "bounds";
inline constexpr std::string_view kVisible = "visible";
inline constexpr std::string_view kEnabled = "enabled";
inline constexpr std::string_view kTitle = "title";
inline constexpr std::string_view kState = "state";
inline constexpr std::string_view kButtonType = "button type";
inline constexpr std::string_view kContents = "contents";
inline constexpr std::string_view kContent = "content";
inline constexpr std::string_view kStringValue = "string value";
inline constexpr std::string_view kEditable = "editable";
inline constexpr std::string_view kImage = "image";
inline constexpr std::string_view kAnimating = "animating";
inline constexpr std::string_view kMenu = cls::kMenu;
inline constexpr std::string_view kCurrentMenuItem = "current menu item";
inline constexpr std::string_view kSeparatorItem = "separator item";
inline constexpr std::string_view kHeaderCell = cls::kHeaderCell;
inline constexpr std::string_view kIdentifier = "identifier";
inline constexpr std::string_view kWidth = "width";
inline constexpr std::string_view kDataSource = cls::kDataSource;
inline constexpr std::string_view kSelectedRow = "selected row";
inline constexpr std::string_view kSelectedRows = "selected rows";
inline constexpr std::string_view kScrolledRow = "scrolled row";
}  // namespace prop

}  // namespace scriptkit::model
