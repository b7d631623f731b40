// Small helpers for the reflective setters: coerce a script value and hand the
// result to a typed setter, or return the coercion's failure unchanged.
#pragma once

#include <string>
#include <utility>

#include "scriptkit/model/coerce.h"
#include "scriptkit/model/element.h"

namespace scriptkit::model::detail {

template <typename T, typename Setter>
MaybeError apply(Result<T> coerced, Setter&& setter) {
  if (T* value = std::get_if<T>(&coerced)) {
    setter(std::move(*value));
    return std::nullopt;
  }
  return std::get<ScriptError>(std::move(coerced));
}

template <typename Setter>
MaybeError set_boolean(const Value& value, Setter&& setter) {
  return apply(to_boolean(value), std::forward<Setter>(setter));
}

template <typename Setter>
MaybeError set_integer(const Value& value, Setter&& setter) {
  return apply(to_integer(value), std::forward<Setter>(setter));
}

template <typename Setter>
MaybeError set_text(const Value& value, Setter&& setter) {
  return apply(to_text(value), std::forward<Setter>(setter));
}

// Sets the properties of a new element before it joins the model, so that a
// property that fails leaves the model as it was.
MaybeError apply_properties(Element& element, const ValueRecord& properties);

}  // namespace scriptkit::model::detail
