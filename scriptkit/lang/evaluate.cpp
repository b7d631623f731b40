// The interpreter's expressions.
#include <unordered_set>

#include "scriptkit/lang/interpreter.h"
#include "scriptkit/model/coerce.h"
#include "scriptkit/model/table.h"
#include "scriptkit/runtime/methods.h"

namespace scriptkit::lang::detail {

Value Interpreter::current_application() const {
  return Value(std::static_pointer_cast<model::Element>(m_env.application));
}

Value Interpreter::current_target() const {
  if (!m_targets.empty()) return m_targets.back();
  return current_application();
}

Value Interpreter::eval(const Expr& e) {
  Depth guard(*this);
  step();
  switch (e.kind) {
    case ExprKind::Literal:
      return e.value;
    case ExprKind::Variable:
      return get_variable(e);
    case ExprKind::Me:
      return Value(std::static_pointer_cast<model::Element>(m_env.application));
    case ExprKind::It:
      return current_target();
    case ExprKind::List:
      return eval_list(e);
    case ExprKind::Record:
      return eval_record(e);
    case ExprKind::Unary:
      return unary_op(e.op, eval(*e.operand()));
    case ExprKind::Binary:
      return eval_binary(e);
    case ExprKind::Coerce:
      if (e.target_class()) return coerce_to_class(eval(*e.operand()), eval(*e.target_class()));
      return coerce(eval(*e.operand()), e.name);
    case ExprKind::Property:
      return eval_property(e);
    case ExprKind::ByName:
    case ExprKind::ByIndex:
      return eval_element(e);
    case ExprKind::Every:
      return eval_every(e);
    case ExprKind::Range:
      return eval_range(e);
    case ExprKind::Delimiters:
      charge_size(m_state.delimiters.size());
      return Value(m_state.delimiters);
    case ExprKind::Exists:
      return eval_exists(e);
    case ExprKind::Position:
      return eval_position(e);
    case ExprKind::Count:
      return eval_count(e);
    case ExprKind::Call:
      return eval_call(e);
    case ExprKind::CallMethod:
      return eval_call_method(e);
    case ExprKind::Make:
      return eval_make(e);
  }
  return Value();
}

// `and` and `or` evaluate their right side only when the left does not
// decide; the other operators take both sides, left first.
Value Interpreter::eval_binary(const Expr& e) {
  if (e.op == Op::And || e.op == Op::Or) {
    bool left = take(model::to_boolean(eval(*e.left())));
    if (left == (e.op == Op::Or)) return Value(left);
    return Value(take(model::to_boolean(eval(*e.right()))));
  }
  Value left = eval(*e.left());
  return binary_op(e.op, left, eval(*e.right()));
}

Value Interpreter::eval_call(const Expr& e) {
  std::vector<Value> args;
  for (const auto& item : e.items) args.push_back(eval(*item));
  return call_handler(e.name, std::move(args), e.line, written_name(e));
}

// True when the reference can be got: an element, an item or a label that
// is there. Only "can't get" means no; any other failure stays one.
Value Interpreter::eval_exists(const Expr& e) {
  try {
    eval(*e.operand());
    return Value(true);
  } catch (RunFailure& failure) {
    if (!failure.catchable || failure.error.number != kErrCantGet) throw;
    return Value(false);
  }
}

Value Interpreter::eval_list(const Expr& e) {
  if (e.items.size() > kMaxListItems) fail(kErrOutOfMemory, "Out of memory.");
  ValueList items;
  items.reserve(e.items.size());
  for (const auto& item : e.items) {
    items.push_back(eval(*item));
    check_nesting(items.back());
  }
  return Value(std::move(items));
}

Value Interpreter::eval_record(const Expr& e) {
  ValueRecord fields;
  for (std::size_t i = 0; i < e.items.size(); ++i) {
    Value v = eval(*e.items[i]);
    check_nesting(v);
    std::erase_if(fields, [&](const auto& f) { return same_label(f.first, e.keys[i]); });
    fields.emplace_back(e.keys[i], std::move(v));
  }
  return Value(std::move(fields));
}

Value Interpreter::eval_count(const Expr& e) {
  Value v = eval(*e.operand());
  if (v.is_list()) return Value(static_cast<std::int64_t>(v.as_list().size()));
  if (v.is_record()) return Value(static_cast<std::int64_t>(v.as_record().size()));
  if (v.is_text()) return Value(character_count(v.as_text()));
  fail(kErrCantGet, "Can't get count of " + model::describe_value(v) + ".");
}

Value Interpreter::eval_call_method(const Expr& e) {
  std::string selector = take(model::to_text(eval(*e.selector())));
  std::vector<Value> args;
  if (e.spread_arguments) {
    args = model::to_list(eval(*e.items[0]));
  } else {
    for (const auto& item : e.items) args.push_back(eval(*item));
  }
  if (e.receiver()) {
    Value receiver = eval(*e.receiver());
    if (receiver.is_class()) return builtin_class_method(receiver.as_class().name, selector, args);
    if (!receiver.is_element() || !receiver.as_element()) {
      fail(kErrDoesNotUnderstand, model::describe_value(receiver) + " doesn't understand the \"" +
                                      selector + "\" message.");
    }
    if (receiver.as_element()->kind() == model::Kind::Application) {
      return take(runtime::registry().call(runtime::kApplicationObject, selector, args));
    }
    return take(receiver.as_element()->call_method(selector, args));
  }
  if (e.class_receiver) return builtin_class_method(e.name, selector, args);
  return take(runtime::registry().call(runtime::kApplicationObject, selector, args));
}

namespace {

// {location, length} as a list or a record.
void range_of(const Value& v, std::int64_t& location, std::int64_t& length) {
  if (v.is_list() && v.as_list().size() == 2) {
    location = take(model::to_integer(v.as_list()[0]));
    length = take(model::to_integer(v.as_list()[1]));
    return;
  }
  if (v.is_record()) {
    for (const auto& [key, field] : v.as_record()) {
      if (key == "location") location = take(model::to_integer(field));
      if (key == "length") length = take(model::to_integer(field));
    }
    return;
  }
  fail(kErrCantMake, "Can't make " + model::describe_value(v) + " into type range.");
}

}  // namespace

// The classes the framework answers itself; the rest are the program's.
Value Interpreter::builtin_class_method(std::string_view cls, std::string_view selector,
                                        std::span<const Value> args) {
  if (cls == "NSIndexSet" && args.size() == 1) {
    std::int64_t location = 0, length = 0;
    if (selector == "indexSetWithIndexesInRange:") {
      range_of(args[0], location, length);
    } else if (selector == "indexSetWithIndex:") {
      location = take(model::to_integer(args[0]));
      length = 1;
    }
    if (selector == "indexSetWithIndexesInRange:" || selector == "indexSetWithIndex:") {
      if (location < 0 || length < 0) {
        fail(kErrCantMake, "Can't make an index set at " + std::to_string(location) +
                               " with length " + std::to_string(length) + ".");
      }
      return model::index_set_value(location, length);
    }
  }
  return take(runtime::registry().call(cls, selector, args));
}

// ---- limits on values ------------------------------------------------------

namespace {

struct NestingWalk {
  std::unordered_set<const void*> seen;
  std::uint64_t visited = 0;

  // Depth of lists and records inside v, counting v; stops past `limit`.
  std::size_t depth(const Value& v, std::size_t limit) {
    if (!v.is_list() && !v.is_record()) return 0;
    const void* key = v.is_list() ? static_cast<const void*>(&v.as_list())
                                  : static_cast<const void*>(&v.as_record());
    if (limit == 0) return 1;
    if (!seen.insert(key).second) return 1;  // counted on another path
    std::size_t deepest = 0;
    auto visit = [&](const Value& item) {
      ++visited;
      if (deepest < limit) deepest = std::max(deepest, depth(item, limit - 1));
    };
    if (v.is_list()) {
      for (const Value& item : v.as_list()) visit(item);
    } else {
      for (const auto& field : v.as_record()) visit(field.second);
    }
    return deepest + 1;
  }
};

}  // namespace

void Interpreter::check_nesting(const Value& v) {
  if (!v.is_list() && !v.is_record()) return;
  NestingWalk walk;
  std::size_t depth = walk.depth(v, kMaxValueDepth);
  step(1 + walk.visited / 64);
  if (depth >= kMaxValueDepth) {
    fail(kErrOutOfMemory,
         "Lists and records can hold each other only " + std::to_string(kMaxValueDepth) + " deep.");
  }
}

Value Interpreter::deep_copy(const Value& v, std::size_t depth) {
  if (depth > kMaxValueDepth) fail(kErrOutOfMemory, "Out of memory.");
  if (v.is_list()) {
    charge_size(v.as_list().size());
    ValueList copy;
    copy.reserve(v.as_list().size());
    for (const Value& item : v.as_list()) copy.push_back(deep_copy(item, depth + 1));
    return Value(std::move(copy));
  }
  if (v.is_record()) {
    charge_size(v.as_record().size());
    ValueRecord copy;
    for (const auto& [key, field] : v.as_record())
      copy.emplace_back(key, deep_copy(field, depth + 1));
    return Value(std::move(copy));
  }
  return v;
}

}  // namespace scriptkit::lang::detail
