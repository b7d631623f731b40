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
  {
    Updating guard(*this);
    if (change.property == model::prop::kBounds) place();
    if (change.property == model::prop::kVisible) m_widget->setVisible(m_view->visible());
    if (change.property == model::prop::kEnabled) m_widget->setEnabled(m_view->enabled());
  }
  if (shows(change.property)) refresh();
}

namespace {

template <typename Binding, typename Model, typename... Events>
std::unique_ptr<ViewBinding> bind(const std::shared_ptr<model::View>& view, QWidget* parent,
                                  Events&... events) {
  return std::make_unique<Binding>(std::static_pointer_cast<Model>(view), parent, events...);
}

// A button draws as a push button or as a check box, by its style.
std::unique_ptr<ViewBinding> bind_button(const std::shared_ptr<model::View>& view, QWidget* parent,
                                         app::ViewEvents& events) {
  auto button = std::static_pointer_cast<model::Button>(view);
  if (button->style() == model::Button::Style::CheckBox) {
    return std::make_unique<CheckBoxBinding>(button, parent, events);
  }
  return std::make_unique<PushButtonBinding>(button, parent, events);
}

// The binding of a view's kind, before it shows the model's state.
std::unique_ptr<ViewBinding> new_binding(const std::shared_ptr<model::View>& view, QWidget* parent,
                                         app::ViewEvents& events) {
  using model::Kind;
  switch (view->kind()) {
    case Kind::Box:
      return bind<BoxBinding, model::Box>(view, parent);
    case Kind::Button:
      return bind_button(view, parent, events);
    case Kind::TextField:
      return bind<TextFieldBinding, model::TextField>(view, parent);
    case Kind::ImageView:
      return bind<ImageViewBinding, model::ImageView>(view, parent);
    case Kind::ProgressIndicator:
      return bind<ProgressBinding, model::ProgressIndicator>(view, parent);
    case Kind::PopUpButton:
      return bind<PopUpBinding, model::PopUpButton>(view, parent, events);
    case Kind::ScrollView:
      return bind<TableBinding, model::ScrollView>(view, parent);
    default:
      return std::make_unique<ViewBinding>(view, new QWidget, parent);
  }
}

}  // namespace

std::unique_ptr<ViewBinding> make_binding(std::shared_ptr<model::View> view, QWidget* parent,
                                          app::ViewEvents& events) {
  std::unique_ptr<ViewBinding> binding = new_binding(view, parent, events);
  binding->refresh();
  return binding;
}

}  // namespace scriptkit::qt
