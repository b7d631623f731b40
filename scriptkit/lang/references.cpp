// The interpreter's references: properties, elements by name or index, every
// element, positions, and assignment to each of them. A reference without
// `of` is read against the tell targets, innermost first.
#include <algorithm>

#include "scriptkit/lang/interpreter.h"
#include "scriptkit/model/coerce.h"
#include "scriptkit/model/names.h"

namespace scriptkit::lang::detail {
namespace {

using model::describe_value;

ScriptError cant_get(std::string_view what, const Value& of) {
  return ScriptError{kErrCantGet,
                     "Can't get " + std::string(what) + " of " + describe_value(of) + "."};
}

[[noreturn]] void cant_set(std::string_view what, const Value& v) {
  fail(kErrCantSet, "Can't set " + std::string(what) + " to " + describe_value(v) + ".");
}

Result<Value> item_at(const ValueList& items, std::int64_t index, std::string_view cls,
                      const Value& of) {
  auto count = static_cast<std::int64_t>(items.size());
  std::int64_t position = index < 0 ? count + index : index - 1;
  if (index == 0 || position < 0 || position >= count) {
    return cant_get(std::string(cls) + " " + std::to_string(index), of);
  }
  return items[static_cast<std::size_t>(position)];
}

// The 0-based position of an item, failing as `item n of …` would.
std::size_t item_position(const ValueList& items, std::int64_t index, const Value& of) {
  auto count = static_cast<std::int64_t>(items.size());
  std::int64_t position = index < 0 ? count + index : index - 1;
  if (index == 0 || position < 0 || position >= count) {
    fail(cant_get("item " + std::to_string(index), of));
  }
  return static_cast<std::size_t>(position);
}

Result<Value> element_of(const Value& container, std::string_view cls, const Value& key,
                         const ValueList& delimiters) {
  if (container.is_element() && container.as_element()) {
    model::Element& element = *container.as_element();
    Result<model::ElementPtr> found =
        key.is_text() ? model::element_named(element, cls, key.as_text())
                      : model::element_at(element, cls, take(model::to_integer(key)));
    if (failed(found)) return std::get<ScriptError>(found);
    return Value(std::get<model::ElementPtr>(found));
  }
  if (container.is_list() && cls == "item") {
    return item_at(container.as_list(), take(model::to_integer(key)), cls, container);
  }
  if (container.is_text() && is_text_class(cls)) {
    ValueList pieces = text_pieces(container.as_text(), cls, delimiters);
    return item_at(pieces, take(model::to_integer(key)), cls, container);
  }
  return cant_get(std::string(cls) + " " + describe_value(key), container);
}

}  // namespace

Value Interpreter::container_of(const Expr& e) {
  return e.container() ? eval(*e.container()) : current_target();
}

// Without `of`, an element is found in the innermost tell target only, as a
// box command must not find a control outside its box; windows always belong
// to the application.
Value Interpreter::element_container(const Expr& e) {
  if (e.container()) return eval(*e.container());
  return e.name == model::cls::kWindow ? current_application() : current_target();
}

Value Interpreter::eval_property(const Expr& e) {
  if (e.container() && e.container()->kind == ExprKind::Me) {
    if (Value* v = find_variable(e.name)) return *v;
    undefined(e);
  }
  return property_of(container_of(e), written_name(e));
}

Value Interpreter::property_of(const Value& c, std::string_view name) {
  if (name == "class" && !c.is_record()) return Value(ClassRef{model::class_of(c)});
  if (c.is_element() && c.as_element()) return take(c.as_element()->get(name));
  if (c.is_record()) {
    for (const auto& [key, field] : c.as_record()) {
      if (same_label(key, name)) return field;
    }
  }
  if (c.is_list()) return list_property(c, name);
  if (name == "class") return Value(ClassRef{"record"});
  if (name == "contents") return c;
  if (c.is_text() && name == "length") return Value(character_count(c.as_text()));
  if (c.is_record() && name == "length") {
    return Value(static_cast<std::int64_t>(c.as_record().size()));
  }
  fail(cant_get(name, c));
}

Value Interpreter::list_property(const Value& c, std::string_view name) {
  const ValueList& items = c.as_list();
  if (name == "length") return Value(static_cast<std::int64_t>(items.size()));
  if (name == "rest") return Value(ValueList(items.begin() + (items.empty() ? 0 : 1), items.end()));
  if (name == "reverse") return Value(ValueList(items.rbegin(), items.rend()));
  bool elements = !items.empty() && std::all_of(items.begin(), items.end(), [](const Value& v) {
    return v.is_element() && v.as_element();
  });
  if (!elements) {
    if (name == "contents") return c;
    fail(cant_get(name, c));
  }
  // A property of every element of a list: `title of every menu item of …`.
  ValueList values;
  for (const Value& item : items) values.push_back(property_of(item, name));
  charge_size(values.size());
  return Value(std::move(values));
}

Value Interpreter::eval_element(const Expr& e) {
  Value key = eval(*e.key());
  Value c = element_container(e);
  if (c.is_text()) charge_pieces(c.as_text());
  return take(element_of(c, e.name, key, m_state.delimiters));
}

Value Interpreter::eval_every(const Expr& e) {
  Value c = container_of(e);
  if (c.is_element() && c.as_element()) {
    model::ElementList found = c.as_element()->elements(e.name);
    return Value(ValueList(found.begin(), found.end()));
  }
  if (c.is_list() && e.name == "item") return Value(ValueList(c.as_list()));
  if (c.is_text() && is_text_class(e.name)) {
    charge_pieces(c.as_text());
    return Value(text_pieces(c.as_text(), e.name, m_state.delimiters));
  }
  fail(cant_get("every " + e.name, c));
}

Value Interpreter::eval_position(const Expr& e) {
  Value c = eval(*e.container());
  if (!c.is_list()) fail(cant_get(e.name, c));
  return take(item_at(c.as_list(), e.name == "end" ? -1 : 1, "item", c));
}

// ---- assignment ------------------------------------------------------------

void Interpreter::assign(const Expr& target, Value value) {
  switch (target.kind) {
    case ExprKind::Variable:
      set_variable(target.name, std::move(value));
      return;
    case ExprKind::Property:
      assign_property(target, std::move(value));
      return;
    case ExprKind::ByIndex:
    case ExprKind::ByName:
      assign_item(target, std::move(value));
      return;
    case ExprKind::Position:
      assign_position(target, std::move(value));
      return;
    case ExprKind::Delimiters:
      assign_delimiters(value);
      return;
    case ExprKind::List:
      assign_each_item(target, value);
      return;
    case ExprKind::Record:
      assign_each_label(target, value);
      return;
    default:
      cant_set("every " + target.name, value);
  }
}

// `set {a, b} to {1, 2}`: item by item; items past the targets are left over.
// The values are taken before any is set, since a target may change the list.
void Interpreter::assign_each_item(const Expr& target, const Value& value) {
  ValueList taken;
  const ValueList& items = value.is_list() ? value.as_list() : taken = ValueList{value};
  std::size_t n = target.items.size();
  if (items.size() < n) fail(cant_get("item " + std::to_string(items.size() + 1), value));
  ValueList values(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(n));
  for (std::size_t i = 0; i < n; ++i) assign(*target.items[i], std::move(values[i]));
}

// `set {x:a, y:b} to r`: label by label, the values taken first.
void Interpreter::assign_each_label(const Expr& target, const Value& value) {
  if (!value.is_record()) fail(model::cant_make(value, "record"));
  const ValueRecord& fields = value.as_record();
  ValueList values;
  for (const std::string& label : target.keys) {
    auto field = std::find_if(fields.begin(), fields.end(),
                              [&](const auto& f) { return same_label(f.first, label); });
    if (field == fields.end()) fail(cant_get(label, value));
    values.push_back(field->second);
  }
  for (std::size_t i = 0; i < values.size(); ++i) assign(*target.items[i], std::move(values[i]));
}

void Interpreter::assign_property(const Expr& target, Value value) {
  if (target.container() && target.container()->kind == ExprKind::Me) {
    set_variable(target.name, std::move(value));
    return;
  }
  Value c = container_of(target);
  if (c.is_element() && c.as_element()) {
    if (auto error = c.as_element()->set(target.name, value)) fail(std::move(*error));
    return;
  }
  if (c.is_record()) {
    check_nesting(value);
    Value copy = deep_copy(value);
    for (auto& [key, field] : c.as_record()) {
      if (same_label(key, target.name)) {
        field = std::move(copy);
        return;
      }
    }
  }
  if (c.is_list()) {
    // `set enabled of every menu item of … to false`: every element, or none.
    for (const Value& item : c.as_list()) {
      if (!item.is_element() || !item.as_element())
        cant_set(target.name + " of " + describe_value(c), value);
    }
    for (const Value& item : c.as_list()) {
      if (auto error = item.as_element()->set(target.name, value)) fail(std::move(*error));
    }
    return;
  }
  cant_set(target.name + " of " + describe_value(c), value);
}

void Interpreter::assign_item(const Expr& target, Value value) {
  Value key = eval(*target.key());
  Value c = container_of(target);
  if (!c.is_list() || target.name != "item" || target.kind != ExprKind::ByIndex) {
    cant_set(target.name + " " + describe_value(key) + " of " + describe_value(c), value);
  }
  std::size_t position = item_position(c.as_list(), take(model::to_integer(key)), c);
  check_nesting(value);
  c.as_list()[position] = deep_copy(value);
}

void Interpreter::assign_position(const Expr& target, Value value) {
  Value c = eval(*target.container());
  if (!c.is_list()) cant_set(target.name + " of " + describe_value(c), value);
  ValueList& items = c.as_list();
  if (items.size() >= kMaxListItems) fail(kErrOutOfMemory, "Out of memory.");
  check_nesting(value);
  Value copy = deep_copy(value);
  if (target.name == "end") {
    items.push_back(std::move(copy));
  } else {
    items.insert(items.begin(), std::move(copy));
    charge_size(items.size());
  }
}

}  // namespace scriptkit::lang::detail
