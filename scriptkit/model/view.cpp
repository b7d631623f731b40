#include "scriptkit/model/view.h"

#include <limits>

#include "scriptkit/model/property_helpers.h"

namespace scriptkit::model {

using detail::set_boolean;
using detail::set_text;

Value bounds_value(const Bounds& b) {
  return Value(ValueList{Value(std::int64_t{b.left}), Value(std::int64_t{b.bottom}),
                         Value(std::int64_t{b.right}), Value(std::int64_t{b.top})});
}

Result<Bounds> bounds_from(const Value& value) {
  if (!value.is_list() || value.as_list().size() != 4)
    return cant_make(value, "bounding rectangle");
  std::int32_t edges[4];
  for (std::size_t i = 0; i < 4; ++i) {
    Result<std::int64_t> n = to_integer(value.as_list()[i]);
    if (failed(n) || std::get<std::int64_t>(n) < std::numeric_limits<std::int32_t>::min() ||
        std::get<std::int64_t>(n) > std::numeric_limits<std::int32_t>::max()) {
      return cant_make(value, "bounding rectangle");
    }
    edges[i] = static_cast<std::int32_t>(std::get<std::int64_t>(n));
  }
  return Bounds{edges[0], edges[1], edges[2], edges[3]};
}

namespace {

MaybeError set_bounds_from(const Value& value, auto&& setter) {
  return detail::apply(bounds_from(value), setter);
}

}  // namespace

void View::set_bounds(const Bounds& bounds) {
  if (bounds == m_bounds) return;
  m_bounds = bounds;
  changed("bounds");
}

void View::set_visible(bool visible) {
  if (visible == m_visible) return;
  m_visible = visible;
  changed("visible");
}

void View::set_enabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  changed("enabled");
}

Result<Value> View::get(std::string_view property) {
  if (property == "bounds") return bounds_value(m_bounds);
  if (property == "visible") return Value(m_visible);
  if (property == "enabled") return Value(m_enabled);
  return Element::get(property);
}

MaybeError View::set(std::string_view property, const Value& value) {
  if (property == "bounds") return set_bounds_from(value, [&](Bounds b) { set_bounds(b); });
  if (property == "visible") return set_boolean(value, [&](bool b) { set_visible(b); });
  if (property == "enabled") return set_boolean(value, [&](bool b) { set_enabled(b); });
  return Element::set(property, value);
}

bool Control::is_a(std::string_view class_name) const {
  return class_name == "control" || View::is_a(class_name);
}

void Box::set_title(std::string title) {
  if (title == m_title) return;
  m_title = std::move(title);
  changed("title");
}

Result<Value> Box::get(std::string_view property) {
  if (property == "title") return Value(m_title);
  return View::get(property);
}

MaybeError Box::set(std::string_view property, const Value& value) {
  if (property == "title") return set_text(value, [&](std::string t) { set_title(std::move(t)); });
  return View::set(property, value);
}

void Window::set_title(std::string title) {
  if (title == m_title) return;
  m_title = std::move(title);
  changed("title");
}

void Window::set_bounds(const Bounds& bounds) {
  if (bounds == m_bounds) return;
  m_bounds = bounds;
  changed("bounds");
}

void Window::set_visible(bool visible) {
  if (visible == m_visible) return;
  m_visible = visible;
  changed("visible");
}

Result<Value> Window::get(std::string_view property) {
  if (property == "title") return Value(m_title);
  if (property == "bounds") return bounds_value(m_bounds);
  if (property == "visible") return Value(m_visible);
  return Element::get(property);
}

MaybeError Window::set(std::string_view property, const Value& value) {
  if (property == "title") return set_text(value, [&](std::string t) { set_title(std::move(t)); });
  if (property == "bounds") return set_bounds_from(value, [&](Bounds b) { set_bounds(b); });
  if (property == "visible") return set_boolean(value, [&](bool b) { set_visible(b); });
  return Element::set(property, value);
}

std::shared_ptr<Window> Application::add_window(std::string name) {
  auto window = std::make_shared<Window>(std::move(name));
  adopt(window);
  return window;
}

std::shared_ptr<Window> Application::window(std::string_view name) {
  for (const ElementPtr& child : children()) {
    if (child->kind() == Kind::Window && child->name() == name) {
      return std::static_pointer_cast<Window>(child);
    }
  }
  return nullptr;
}

}  // namespace scriptkit::model
