// Views: everything in a window that has a frame. A View has `bounds`
// {left, bottom, right, top}, `visible` and `enabled`; a Control is a View that
// answers to the class name "control". Windows and boxes hold views; the
// application holds windows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "scriptkit/model/element.h"

namespace scriptkit::model {

// A frame in window coordinates, in the order a script writes it.
struct Bounds {
  std::int32_t left = 0;
  std::int32_t bottom = 0;
  std::int32_t right = 0;
  std::int32_t top = 0;
  bool operator==(const Bounds&) const = default;
};

Value bounds_value(const Bounds& bounds);
// A list of four numbers; fails with -1700 for anything else.
Result<Bounds> bounds_from(const Value& value);

class View : public Element {
 public:
  using Element::Element;

  const Bounds& bounds() const { return m_bounds; }
  void set_bounds(const Bounds& bounds);
  bool visible() const { return m_visible; }
  void set_visible(bool visible);
  bool enabled() const { return m_enabled; }
  void set_enabled(bool enabled);

  Result<Value> get(std::string_view property) override;
  MaybeError set(std::string_view property, const Value& value) override;

 private:
  Bounds m_bounds;
  bool m_visible = true;
  bool m_enabled = true;
};

class Control : public View {
 public:
  using View::View;
  bool is_a(std::string_view class_name) const override;
};

// Adds a new view of type T with a name to a window or box and returns it.
template <typename T, typename Container>
std::shared_ptr<T> add_view(Container& container, std::string name) {
  auto view = std::make_shared<T>(std::move(name));
  container.add(view);
  return view;
}

class Box : public View {
 public:
  using View::View;
  Kind kind() const override { return Kind::Box; }
  std::string_view class_name() const override { return "box"; }

  const std::string& title() const { return m_title; }
  void set_title(std::string title);
  void add(std::shared_ptr<View> view) { adopt(std::move(view)); }
  template <typename T>
  std::shared_ptr<T> add(std::string name) {
    return add_view<T>(*this, std::move(name));
  }

  Result<Value> get(std::string_view property) override;
  MaybeError set(std::string_view property, const Value& value) override;

 private:
  std::string m_title;
};

class Window : public Element {
 public:
  using Element::Element;
  Kind kind() const override { return Kind::Window; }
  std::string_view class_name() const override { return "window"; }

  const std::string& title() const { return m_title; }
  void set_title(std::string title);
  const Bounds& bounds() const { return m_bounds; }
  void set_bounds(const Bounds& bounds);
  bool visible() const { return m_visible; }
  void set_visible(bool visible);
  void add(std::shared_ptr<View> view) { adopt(std::move(view)); }
  template <typename T>
  std::shared_ptr<T> add(std::string name) {
    return add_view<T>(*this, std::move(name));
  }

  Result<Value> get(std::string_view property) override;
  MaybeError set(std::string_view property, const Value& value) override;

 private:
  std::string m_title;
  Bounds m_bounds;
  bool m_visible = true;
};

// The root: the application and its windows.
class Application : public Element {
 public:
  explicit Application(std::string name = "tavrine") : Element(std::move(name)) {}
  Kind kind() const override { return Kind::Application; }
  std::string_view class_name() const override { return "application"; }

  std::shared_ptr<Window> add_window(std::string name);
  // The window of that name, or nullptr.
  std::shared_ptr<Window> window(std::string_view name);
};

}  // namespace scriptkit::model
