// A window as readable text, for running without a display and for end-to-end
// tests: one line a view, in the order of the layout, nested views indented.
//
//   window "Main": Tavrine
//     label: Colour profile:
//     text field "profile": sRGB IEC61966-2.1
//     popup button "units":
//         Pixels
//         ----
//       * Millimetres
//     check box "always": [x] Always open with (disabled)
//     button "Trigger": Trigger (hidden)
//
// A label is a text field without a name that cannot be edited. The current
// row of a pop-up and the selected rows of a table are marked with "*"; check
// boxes show [x] on, [ ] off, [-] mixed; hidden and disabled views say so. The
// text depends only on the model, so it is the same on every machine.
#pragma once

#include <string>
#include <string_view>

#include "scriptkit/model/view.h"

namespace scriptkit::app {

std::string window_text(const model::Window& window);

// The text with what a terminal would act on written out visibly: control
// characters, DEL and bytes that are not UTF-8 as "\x1b", the C1 controls
// and the marks that turn the direction of text as "\u202e". Letters of any
// script stay as they are. Every text the program writes to a terminal about
// names it was given passes through it.
std::string visible_text(std::string_view text);

}  // namespace scriptkit::app
