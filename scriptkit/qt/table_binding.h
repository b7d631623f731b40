// A table view in its scroll view: a table widget with the columns' header
// titles and the data rows' cells. The user's selection becomes the model's
// selected rows; the model's selection and scrolled row show in the widget.
#pragma once

#include <QTableWidget>

#include "scriptkit/model/table.h"
#include "scriptkit/qt/view_binding.h"

namespace scriptkit::qt {

class TableBinding final : public TypedBinding<model::ScrollView, QTableWidget> {
 public:
  TableBinding(std::shared_ptr<model::ScrollView> scroll, QWidget* parent);
  void changed(const model::Change& change) override;

 private:
  void refresh() override;
  void show_selection();
  void take_selection();
};

}  // namespace scriptkit::qt
