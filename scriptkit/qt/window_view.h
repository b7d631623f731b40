// The Qt window of a model window: a fixed-size top-level widget whose
// controls are the window's views, each kept in step with the model by its
// binding. Views that a script adds or deletes come and go with it. The
// window's title, size and position follow the model's title and bounds, and
// a move by the user is written back to the bounds. Files dropped on the
// window reach the framework as an open event.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

#include "scriptkit/app/view_events.h"
#include "scriptkit/model/view.h"
#include "scriptkit/qt/view_binding.h"

namespace scriptkit::qt {

class WindowView final : public QWidget {
 public:
  // `placed`: the model's bounds hold a position to show the window at
  // (moved to the centre of the primary screen when that position is off
  // every screen); otherwise the window manager places it. The window is not
  // shown yet.
  WindowView(std::shared_ptr<model::Window> window, app::ViewEvents& events, bool placed);
  ~WindowView() override;

  model::Window& window() const { return *m_window; }
  // The widget of a view of the window, or nullptr.
  QWidget* widget_of(const model::Element& view) const;
  // Raises the window and asks for the keyboard focus.
  void bring_forward();

 protected:
  void moveEvent(QMoveEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void add_views(model::Element& container, QWidget* parent);
  void add_view(const std::shared_ptr<model::View>& view, QWidget* parent);
  void remove_view(const model::Element& view);
  void changed(const model::Change& change);
  void show_frame();
  void keep_on_a_screen();
  ViewBinding* binding_under(const model::Element& element) const;
  QWidget* container_of(const model::Element& element) const;

  std::shared_ptr<model::Window> m_window;
  app::ViewEvents& m_events;
  std::map<const model::Element*, std::unique_ptr<ViewBinding>> m_bindings;
  model::ObserverId m_observer = 0;
  bool m_placed;
  bool m_moving = false;
};

}  // namespace scriptkit::qt
