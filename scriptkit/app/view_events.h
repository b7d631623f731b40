// What a view tells the framework: the user's actions on the window.
#pragma once

#include <string>
#include <vector>

#include "scriptkit/model/element.h"
#include "scriptkit/model/popup.h"

namespace scriptkit::app {

class ViewEvents {
 public:
  virtual ~ViewEvents() = default;
  // A button or check box was clicked; a check box's new state is in the
  // model already.
  virtual void clicked(model::Element& control) = 0;
  // A row of a pop-up button was chosen; it is the current row already.
  virtual void chose_menu_item(model::PopUpButton& popup) = 0;
  // Files were dropped on the window (absolute paths).
  virtual void open(const std::vector<std::string>& paths) = 0;
};

}  // namespace scriptkit::app
