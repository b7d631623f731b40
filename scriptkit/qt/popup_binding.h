// A pop-up button: a combo box whose rows are the menu's items, separators
// included, with the current item shown. The user's choice makes that row the
// model's current item, then reaches the framework as chose_menu_item, also
// when the row chosen was current already.
#pragma once

#include <QComboBox>

#include "scriptkit/model/popup.h"
#include "scriptkit/qt/view_binding.h"

namespace scriptkit::qt {

class PopUpBinding final : public TypedBinding<model::PopUpButton, QComboBox> {
 public:
  PopUpBinding(std::shared_ptr<model::PopUpButton> popup, QWidget* parent, app::ViewEvents& events);
  void changed(const model::Change& change) override;

 private:
  void refresh() override;
  void show_current();
};

}  // namespace scriptkit::qt
