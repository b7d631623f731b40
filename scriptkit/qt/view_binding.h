// A Qt widget kept in step with one view of the window model, both ways:
// changes of the model reach the widget through changed(); the user's changes
// of the widget are written to the model and told to the framework
// (ViewEvents). Each kind of view has its binding; make_binding picks it.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string_view>

#include "scriptkit/app/view_events.h"
#include "scriptkit/model/view.h"

namespace scriptkit::qt {

class ViewBinding {
 public:
  // The widget is made a child of `parent` and placed at the view's frame.
  ViewBinding(std::shared_ptr<model::View> view, QWidget* widget, QWidget* parent);
  virtual ~ViewBinding();
  ViewBinding(const ViewBinding&) = delete;
  ViewBinding& operator=(const ViewBinding&) = delete;

  QWidget* widget() const { return m_widget.data(); }
  model::View& view() const { return *m_view; }
  // Where the views inside this one go (boxes), or nullptr.
  virtual QWidget* container() { return nullptr; }

  // A change of the view or of an element inside it (a pop-up's rows, a
  // table's rows and cells). The base handles bounds, visible and enabled,
  // then refreshes the widget for the view's properties that it shows().
  virtual void changed(const model::Change& change);

 protected:
  // Shows the model's state in the widget; called once the widget exists.
  virtual void refresh() {}
  // True for a property of the view that refresh() shows.
  virtual bool shows(std::string_view /*property*/) const { return false; }
  void place();
  // True while the binding writes to the widget, so that the widget's own
  // signals are not taken for the user's doing.
  bool updating() const { return m_updating > 0; }
  struct Updating {
    explicit Updating(ViewBinding& b) : m_b(b) { ++m_b.m_updating; }
    ~Updating() { --m_b.m_updating; }
    ViewBinding& m_b;
  };

 private:
  std::shared_ptr<model::View> m_view;
  QPointer<QWidget> m_widget;  // owned by its Qt parent; gone with a deleted box
  int m_updating = 0;

  friend std::unique_ptr<ViewBinding> make_binding(std::shared_ptr<model::View>, QWidget*,
                                                   app::ViewEvents&);
};

// The binding of one class of view to one class of widget.
template <typename Model, typename Widget>
class TypedBinding : public ViewBinding {
 public:
  TypedBinding(std::shared_ptr<Model> view, QWidget* parent)
      : ViewBinding(view, new Widget, parent),
        m_model(std::move(view)),
        m_widget(static_cast<Widget*>(widget())) {}

 protected:
  std::shared_ptr<Model> m_model;
  Widget* m_widget;
};

// The binding for a view of any kind, its widget a child of `parent`.
std::unique_ptr<ViewBinding> make_binding(std::shared_ptr<model::View> view, QWidget* parent,
                                          app::ViewEvents& events);

}  // namespace scriptkit::qt
