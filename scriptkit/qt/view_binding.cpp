#include "scriptkit/qt/view_binding.h"

#include "scriptkit/qt/control_bindings.h"
#include "scriptkit/qt/popup_binding.h"
#include "scriptkit/qt/table_binding.h"

namespace scriptkit::qt {

ViewBinding::ViewBinding(std::shared_ptr<model::View> view, QWidget* widget, QWidget* parent)
    : m_view(std::move(view)), m_widget(widget) {
  m_widget->setParent(parent);
  m_widget->setObjectName(QString::fromStdString(m_view->name()));
  place();
  m_widget->setVisible(m_view->visible());
  m_widget->setEnabled(m_view->enabled());
}

ViewBinding::~ViewBinding() {
  delete m_widget.data();  // also when its parent lives on: the view has left the model
}

void ViewBinding::place() {
  const model::Bounds& b = m_view->bounds();
  m_widget->setGeometry(b.left, b.top, b.right - b.left, b.bottom - b.top);
}

void ViewBinding::changed(const model::Change& change) {
  if (change.kind != model::ChangeKind::Property || &change.element != m_view.get()) return;
  Updating guard(*this);
  if (change.property == "bounds") place();
  if (change.property == "visible") m_widget->setVisible(m_view->visible());
  if (change.property == "enabled") m_widget->setEnabled(m_view->enabled());
}

std::unique_ptr<ViewBinding> make_binding(std::shared_ptr<model::View> view, QWidget* parent,
                                          app::ViewEvents& events) {
  std::unique_ptr<ViewBinding> binding;
  switch (view->kind()) {
    case model::Kind::Box:
      binding = std::make_unique<BoxBinding>(std::static_pointer_cast<model::Box>(view), parent);
      break;
    case model::Kind::Button: {
      auto button = std::static_pointer_cast<model::Button>(view);
      if (button->style() == model::Button::Style::CheckBox) {
        binding = std::make_unique<CheckBoxBinding>(button, parent, events);
      } else {
        binding = std::make_unique<PushButtonBinding>(button, parent, events);
      }
      break;
    }
    case model::Kind::TextField:
      binding = std::make_unique<TextFieldBinding>(std::static_pointer_cast<model::TextField>(view),
                                                   parent);
      break;
    case model::Kind::ImageView:
      binding = std::make_unique<ImageViewBinding>(std::static_pointer_cast<model::ImageView>(view),
                                                   parent);
      break;
    case model::Kind::ProgressIndicator:
      binding = std::make_unique<ProgressBinding>(
          std::static_pointer_cast<model::ProgressIndicator>(view), parent);
      break;
    case model::Kind::PopUpButton:
      binding = std::make_unique<PopUpBinding>(std::static_pointer_cast<model::PopUpButton>(view),
                                               parent, events);
      break;
    case model::Kind::ScrollView:
      binding =
          std::make_unique<TableBinding>(std::static_pointer_cast<model::ScrollView>(view), parent);
      break;
    default:
      binding = std::make_unique<ViewBinding>(view, new QWidget, parent);
      break;
  }
  binding->refresh();
  return binding;
}

}  // namespace scriptkit::qt
