#include "scriptkit/qt/window_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMoveEvent>
#include <QScreen>
#include <QUrl>

#include "scriptkit/qt/qt_text.h"

namespace scriptkit::qt {
namespace {

// The local files among dropped URLs.
std::vector<std::string> local_files(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(local_file_bytes(url));
  }
  return paths;
}

// Whether at least half of the frame lies on one screen, so the user can see
// and grab it.
bool on_a_screen(const QRect& frame) {
  const qint64 area = qint64{frame.width()} * frame.height();
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect seen = frame.intersected(screen->availableGeometry());
    if (!seen.isEmpty() && 2 * qint64{seen.width()} * seen.height() >= area) return true;
  }
  return false;
}

}  // namespace

WindowView::WindowView(std::shared_ptr<model::Window> window, app::ViewEvents& events, bool placed)
    : m_window(std::move(window)), m_events(events), m_placed(placed) {
  setObjectName(to_qt(m_window->name()));
  setAcceptDrops(true);
  if (m_placed) keep_on_a_screen();
  show_frame();
  add_views(*m_window, this);
  m_observer = m_window->observe([this](const model::Change& change) { changed(change); });
}

WindowView::~WindowView() {
  m_window->unobserve(m_observer);
  m_bindings.clear();  // the bindings delete their widgets while this widget lives
}

QWidget* WindowView::widget_of(const model::Element& view) const {
  auto it = m_bindings.find(&view);
  return it == m_bindings.end() ? nullptr : it->second->widget();
}

void WindowView::bring_forward() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void WindowView::add_views(model::Element& container, QWidget* parent) {
  for (const model::ElementPtr& child : container.children()) {
    if (auto view = std::dynamic_pointer_cast<model::View>(child)) add_view(view, parent);
  }
}

void WindowView::add_view(const std::shared_ptr<model::View>& view, QWidget* parent) {
  auto binding = make_binding(view, parent, m_events);
  QWidget* inner = binding->container();
  m_bindings[view.get()] = std::move(binding);
  if (inner) add_views(*view, inner);
}

void WindowView::remove_view(const model::Element& view) {
  for (const model::ElementPtr& child : view.children()) remove_view(*child);
  m_bindings.erase(&view);
}

// The binding of the element or of the nearest view that holds it.
ViewBinding* WindowView::binding_under(const model::Element& element) const {
  for (const model::Element* e = &element; e; e = e->parent()) {
    auto it = m_bindings.find(e);
    if (it != m_bindings.end()) return it->second.get();
  }
  return nullptr;
}

QWidget* WindowView::container_of(const model::Element& element) const {
  if (&element == m_window.get()) return const_cast<WindowView*>(this);
  auto it = m_bindings.find(&element);
  return it == m_bindings.end() ? nullptr : it->second->container();
}

void WindowView::changed(const model::Change& change) {
  if (&change.element == m_window.get() && change.kind == model::ChangeKind::Property) {
    if (change.property == model::prop::kVisible) {
      setVisible(m_window->visible());
    } else {
      show_frame();
    }
    return;
  }
  QWidget* container = container_of(change.element);
  if (container && change.child && dynamic_cast<model::View*>(change.child)) {
    if (change.kind == model::ChangeKind::ElementAdded) {
      add_view(std::static_pointer_cast<model::View>(change.child->shared_from_this()), container);
    } else if (change.kind == model::ChangeKind::ElementRemoved) {
      remove_view(*change.child);
    }
    return;
  }
  if (ViewBinding* binding = binding_under(change.element)) binding->changed(change);
}

void WindowView::show_frame() {
  const model::Bounds& b = m_window->bounds();
  setWindowTitle(to_qt(m_window->title()));
  setFixedSize(b.right - b.left, b.bottom - b.top);
  if (m_placed && pos() != QPoint(b.left, b.top)) {
    m_moving = true;
    move(b.left, b.top);
    m_moving = false;
  }
}

// A position kept from another arrangement of screens (a second monitor
// since unplugged) may be off every screen: the window is then centred on
// the primary screen, and the model learns the new position.
void WindowView::keep_on_a_screen() {
  const model::Bounds& b = m_window->bounds();
  const QSize size(b.right - b.left, b.bottom - b.top);
  if (on_a_screen(QRect(QPoint(b.left, b.top), size))) return;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr) return;
  QRect frame(QPoint(0, 0), size);
  frame.moveCenter(primary->availableGeometry().center());
  m_window->set_bounds(
      {frame.left(), frame.top() + size.height(), frame.left() + size.width(), frame.top()});
}

void WindowView::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (m_moving) return;
  // From now on the model knows where the window is.
  m_placed = true;
  const model::Bounds& b = m_window->bounds();
  const int x = pos().x();
  const int y = pos().y();
  m_window->set_bounds({x, y + (b.bottom - b.top), x + (b.right - b.left), y});
}

void WindowView::dragEnterEvent(QDragEnterEvent* event) {
  if (!local_files(event->mimeData()).empty()) event->acceptProposedAction();
}

void WindowView::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths = local_files(event->mimeData());
  if (paths.empty()) return;
  event->acceptProposedAction();
  m_events.open(paths);
}

}  // namespace scriptkit::qt
