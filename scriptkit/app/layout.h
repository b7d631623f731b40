// The window layout: a small text format that describes an application's
// windows, their views, and the rows of their pop-ups and tables.
//
//   # A comment runs to the end of its line.
//   window "Main" title "Tavrine" size 460 360
//     label "Colour profile:" frame 16 120 110 20
//     text field "profile" frame 130 120 310 20
//     popup button "units" frame 130 150 170 26
//       menu item "Pixels"
//       separator
//       menu item "Inches"
//     check box "always" frame 16 190 200 20 title "Always open with" enabled false
//     button "Trigger" frame 0 0 1 1 visible false
//
// One element a line: its class, its name in double quotes (\" and \\ stand
// for a quote and a backslash), then its properties. A line indented deeper
// than the line above it belongs to that element: the views of a window or a
// box, the rows of a pop-up button, the columns of a table view.
//
// Classes: window, box, button, check box (a button that a script addresses as
// `button`, with a state), popup button, menu item (the quoted text is its
// title), separator (a pop-up row without a name), text field, label (a
// text field that cannot be edited; the quoted text is what it shows, and it
// has no name), image view, progress indicator, table view (a table view inside
// a scroll view of the same name, as scripts address it), table column.
//
// Properties: frame <x> <y> <width> <height> (every view), size <width>
// <height> (a window), title "<text>" (window, box, button, check box, table
// column), contents "<text>" (text field), image "<icon name or /path>"
// (image view), state on|off|mixed (check box), width <n> (table column),
// visible, enabled, editable true|false.
//
// Coordinates are pixels from the top-left corner of the window's content
// (of the box, for the views inside a box), y growing downward. A script sees a view's frame as its
// bounds {left, bottom, right, top} in these coordinates, so bottom is the larger number.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scriptkit/model/view.h"

namespace scriptkit::app {

struct LayoutError {
  int line = 0;         // 1-based line of the file
  std::string message;  // what was wrong there, naming the word found
};

// Reads a layout and adds its windows to the application. On failure returns
// the first error and leaves the application as it was.
std::optional<LayoutError> load_layout(std::string_view text, model::Application& app);

// "Main.layout:12: expected a number after "frame" but found "abc"".
std::string describe_layout_error(const LayoutError& error, std::string_view file_name);

// A view's bounds from a layout frame, and back.
model::Bounds bounds_from_frame(int x, int y, int width, int height);

}  // namespace scriptkit::app
