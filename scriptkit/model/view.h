// Windows and views: everything that has a frame. Both have `bounds`
// {left, bottom, right, top} and `visible` (Framed); a View also has
// `enabled`, and a Control is a View that answers to the class name
// "control". Windows and boxes hold views and have a title (ViewHolder); the
// application holds windows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "scriptkit/model/element.h"
#include "scriptkit/model/names.h"

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

template <>
struct PropertyValue<Bounds> {
  static constexpr PropertyType kType = PropertyType::Bounds;
  static Value out(const Bounds& bounds) { return bounds_value(bounds); }
  static Result<Bounds> in(const Value& value) { return bounds_from(value); }
};

// An element shown in a frame, which a script may move and hide: windows and
// the views in them.
class Framed : public Element {
 public:
  using Element::Element;

  const Bounds& bounds() const { return m_bounds; }
  void set_bounds(const Bounds& bounds) { assign(m_bounds, bounds, prop::kBounds); }
  bool visible() const { return m_visible; }
  void set_visible(bool visible) { assign(m_visible, visible, prop::kVisible); }

  // bounds, visible.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }

 private:
  Bounds m_bounds;
  bool m_visible = true;
};

class View : public Framed {
 public:
  using Framed::Framed;

  bool enabled() const { return m_enabled; }
  void set_enabled(bool enabled) { assign(m_enabled, enabled, prop::kEnabled); }

  // enabled.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }

 private:
  bool m_enabled = true;
};

class Control : public View {
 public:
  using View::View;
  bool is_a(std::string_view class_name) const override;
};

// A frame with a title that holds views: a window, or a box in a window.
template <typename Base>
class ViewHolder : public Base {
 public:
  using Base::Base;

  const std::string& title() const { return m_title; }
  void set_title(std::string title) { this->assign(m_title, std::move(title), prop::kTitle); }
  void add(std::shared_ptr<View> view) { this->adopt(std::move(view)); }
  // Adds a new view of type T with a name and returns it.
  template <typename T>
  std::shared_ptr<T> add(std::string name) {
    auto view = std::make_shared<T>(std::move(name));
    add(view);
    return view;
  }

  // title, besides the base's properties.
  static const PropertyTable kProperties;
  const PropertyTable& properties() const override { return kProperties; }

 private:
  std::string m_title;
};

template <typename Base>
inline constexpr Property kViewHolderProperties[] = {
    plain_property<&ViewHolder<Base>::title, &ViewHolder<Base>::set_title>(prop::kTitle),
};

template <typename Base>
constinit const PropertyTable ViewHolder<Base>::kProperties{&Base::kProperties,
                                                            kViewHolderProperties<Base>};

class Box : public ViewHolder<View> {
 public:
  using ViewHolder::ViewHolder;
  Kind kind() const override { return Kind::Box; }
};

class Window : public ViewHolder<Framed> {
 public:
  using ViewHolder::ViewHolder;
  Kind kind() const override { return Kind::Window; }
};

// The root: the application and its windows.
class Application : public Element {
 public:
  explicit Application(std::string name = "tavrine") : Element(std::move(name)) {}
  Kind kind() const override { return Kind::Application; }

  std::shared_ptr<Window> add_window(std::string name);
  // The window of that name, or nullptr.
  std::shared_ptr<Window> window(std::string_view name);
};

}  // namespace scriptkit::model
