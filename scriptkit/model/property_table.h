// The properties a script sees on each class of the window model, declared
// once: a table per class of name, type, getter and setter, chained to the
// table of the class it derives from. Element::get and Element::set read and
// write through it, the parser's vocabulary lists its names, and the layout
// loader reads a property's type from it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "scriptkit/model/coerce.h"
#include "scriptkit/runtime/error.h"
#include "scriptkit/runtime/value.h"

namespace scriptkit::model {

class Element;

// What a property holds, as a script gets it.
enum class PropertyType { Text, Boolean, Integer, Bounds, Element, List, Class };

struct Property {
  std::string_view name;
  PropertyType type;
  Value (*get)(const Element& element);
  // Coerces the value and sets it, or fails changing nothing; nullptr for a
  // property that a script can only read.
  std::optional<ScriptError> (*set)(Element& element, const Value& value) = nullptr;
};

// A class's own properties and, through `base`, those it inherits.
struct PropertyTable {
  const PropertyTable* base = nullptr;
  std::span<const Property> own;

  // The property of that name, the class's own before its base's; nullptr
  // when the class has none of that name.
  const Property* find(std::string_view name) const {
    for (const PropertyTable* table = this; table; table = table->base) {
      for (const Property& property : table->own) {
        if (property.name == name) return &property;
      }
    }
    return nullptr;
  }
};

// How a value of a C++ type becomes a script value and back. Specialised for
// each type a plain property holds.
template <typename T>
struct PropertyValue;

template <>
struct PropertyValue<std::string> {
  static constexpr PropertyType kType = PropertyType::Text;
  static Value out(const std::string& text) { return Value(text); }
  static Result<std::string> in(const Value& value) { return to_text(value); }
};

template <>
struct PropertyValue<bool> {
  static constexpr PropertyType kType = PropertyType::Boolean;
  static Value out(bool b) { return Value(b); }
  static Result<bool> in(const Value& value) { return to_boolean(value); }
};

namespace detail {

template <typename Member>
struct MemberOf;
template <typename R, typename C>
struct MemberOf<R (C::*)() const> {
  using Class = C;
  using Type = std::remove_cvref_t<R>;
};

// Hands a coerced value to a setter, or returns the coercion's failure.
template <typename T, typename Setter>
std::optional<ScriptError> apply(Result<T> coerced, Setter&& setter) {
  if (T* value = std::get_if<T>(&coerced)) {
    setter(std::move(*value));
    return std::nullopt;
  }
  return std::get<ScriptError>(std::move(coerced));
}

}  // namespace detail

// A property read through a typed getter and, when a setter is given,
// written through it after the value is coerced to the getter's type.
template <auto Getter, auto Setter = nullptr>
constexpr Property plain_property(std::string_view name) {
  using C = typename detail::MemberOf<decltype(Getter)>::Class;
  using T = typename detail::MemberOf<decltype(Getter)>::Type;
  Property property{name, PropertyValue<T>::kType, [](const Element& e) {
                      return PropertyValue<T>::out((static_cast<const C&>(e).*Getter)());
                    }};
  if constexpr (!std::is_null_pointer_v<decltype(Setter)>) {
    property.set = [](Element& e, const Value& value) {
      return detail::apply(PropertyValue<T>::in(value),
                           [&](T v) { (static_cast<C&>(e).*Setter)(std::move(v)); });
    };
  }
  return property;
}

// The same property under a second name ("string value" for "contents").
constexpr Property alias(const Property& property, std::string_view name) {
  Property copy = property;
  copy.name = name;
  return copy;
}

}  // namespace scriptkit::model
