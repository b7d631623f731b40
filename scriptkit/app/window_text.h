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

#include "scriptkit/model/view.h"

namespace scriptkit::app {

std::string window_text(const model::Window& window);

}  // namespace scriptkit::app
