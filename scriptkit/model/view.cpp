#include "scriptkit/model/view.h"

#include <limits>

namespace scriptkit::model {

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

constexpr Property kFramedProperties[] = {
    plain_property<&Framed::bounds, &Framed::set_bounds>(prop::kBounds),
    plain_property<&Framed::visible, &Framed::set_visible>(prop::kVisible),
};
constexpr Property kViewProperties[] = {
    plain_property<&View::enabled, &View::set_enabled>(prop::kEnabled),
};

}  // namespace

constinit const PropertyTable Framed::kProperties{&Element::kProperties, kFramedProperties};
constinit const PropertyTable View::kProperties{&Framed::kProperties, kViewProperties};

bool Control::is_a(std::string_view class_name) const {
  return class_name == cls::kControl || View::is_a(class_name);
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
