// The interpreter's loops, `considering case`, and the commands that change
// the window model: make, delete, start, stop, update.
#include <cmath>

#include "scriptkit/lang/interpreter.h"
#include "scriptkit/model/coerce.h"

namespace scriptkit::lang::detail {
namespace {

using model::describe_value;

model::Element& element_or_fail(const Value& v, std::string_view doing) {
  if (v.is_element() && v.as_element()) return *v.as_element();
  fail(kErrCantGet, "Can't " + std::string(doing) + " " + describe_value(v) + ".");
}

}  // namespace

// `repeat with i from a to b by c` over integers; stops before it would overflow.
template <typename Turn>
void Interpreter::count_integers(const Stmt& s, std::int64_t from, std::int64_t to, std::int64_t by,
                                 Turn&& turn) {
  if (by == 0) fail(kErrCantMake, "A repeat can't count by 0.");
  for (std::int64_t i = from; by > 0 ? i <= to : i >= to;) {
    set_variable(s.variable(), Value(i));
    if (turn() || __builtin_add_overflow(i, by, &i)) return;
  }
}

template <typename Turn>
void Interpreter::count_reals(const Stmt& s, double from, double to, double by, Turn&& turn) {
  if (by == 0 || !std::isfinite(by)) fail(kErrCantMake, "A repeat can't count by that.");
  for (std::int64_t n = 0;; ++n) {
    double i = from + static_cast<double>(n) * by;
    if (by > 0 ? !(i <= to) : !(i >= to)) return;
    set_variable(s.variable(), Value(i));
    if (turn()) return;
  }
}

Flow Interpreter::exec_repeat(const Stmt& s) {
  // One turn of the body; true when the loop ends here.
  Flow result = Flow::Normal;
  auto turn = [&]() {
    step();
    Flow flow = exec_block(s.body);
    if (flow == Flow::Normal) return false;
    if (flow == Flow::Return) result = Flow::Return;
    return true;
  };
  take_turns(s, turn);
  return result;
}

// Takes the turns of a loop as its mode says, until a turn ends it.
template <typename Turn>
void Interpreter::take_turns(const Stmt& s, Turn&& turn) {
  switch (s.mode) {
    case RepeatMode::Forever:
      while (!turn()) {
      }
      return;
    case RepeatMode::Times: {
      std::int64_t times = take(model::to_integer(eval(*s.times())));
      for (std::int64_t i = 0; i < times && !turn(); ++i) {
      }
      return;
    }
    case RepeatMode::While:
      while (take(model::to_boolean(eval(*s.condition()))) && !turn()) {
      }
      return;
    case RepeatMode::Until:
      while (!take(model::to_boolean(eval(*s.condition()))) && !turn()) {
      }
      return;
    case RepeatMode::In:
      for (const Value& item : model::to_list(eval(*s.list()))) {
        set_variable(s.variable(), item);
        if (turn()) return;
      }
      return;
    case RepeatMode::FromTo:
      count_from_to(s, turn);
      return;
  }
}

// `repeat with i from a to b [by c]`: over integers when all three are, else
// over reals.
template <typename Turn>
void Interpreter::count_from_to(const Stmt& s, Turn&& turn) {
  Value from = eval(*s.from()), to = eval(*s.to());
  Value by = s.by() ? eval(*s.by()) : Value(std::int64_t{1});
  if (from.is_integer() && to.is_integer() && by.is_integer()) {
    count_integers(s, from.as_integer(), to.as_integer(), by.as_integer(), turn);
  } else {
    count_reals(s, take(model::to_real(from)), take(model::to_real(to)), take(model::to_real(by)),
                turn);
  }
}

// `considering case` and `ignoring case` around the comparisons of a block.
Flow Interpreter::exec_considering(const Stmt& s) {
  bool outer = m_consider_case;
  m_consider_case = s.verb() == "considering";
  try {
    Flow flow = exec_block(s.body);
    m_consider_case = outer;
    return flow;
  } catch (...) {
    m_consider_case = outer;
    throw;
  }
}

Value Interpreter::eval_make(const Expr& e) {
  model::Position position = model::Position::End;
  Value container;
  if (!e.place()) {
    container = current_target();
  } else if (e.place()->kind == ExprKind::Position) {
    position = e.place()->name == "end" ? model::Position::End : model::Position::Beginning;
    // `at end of menu items of X`: the container is X.
    const Expr& place = *e.place()->container();
    container = place.kind == ExprKind::Every ? container_of(place) : eval(place);
  } else {
    container = eval(*e.place());
  }
  ValueRecord properties;
  if (e.properties()) {
    Value given = eval(*e.properties());
    if (given.is_record()) {
      properties = given.as_record();
    } else if (!given.is_missing()) {
      fail(model::cant_make(given, "record"));
    }
  }
  model::Element& target = element_or_fail(container, "make a new " + e.name + " in");
  return Value(take(target.make(e.name, position, properties)));
}

Flow Interpreter::exec_delete(const Stmt& s) {
  Value v = eval(*s.target());
  ValueList doomed = v.is_list() ? v.as_list() : ValueList{v};
  // Check every one first, so that a failure deletes nothing.
  for (const Value& item : doomed) {
    model::Element& e = element_or_fail(item, "delete");
    if (!e.parent()) fail(kErrCantGet, "Can't delete " + e.describe() + ".");
  }
  for (const Value& item : doomed) {
    model::Element& e = *item.as_element();
    if (!e.parent()) continue;  // already gone with an earlier one
    if (auto error = e.parent()->remove(e)) fail(std::move(*error));
  }
  return Flow::Normal;
}

Flow Interpreter::exec_command(const Stmt& s) {
  Value v = s.target() ? eval(*s.target()) : current_target();
  ValueList targets = v.is_list() ? v.as_list() : ValueList{v};
  for (const Value& target : targets) {
    model::Element& e = element_or_fail(target, s.verb());
    m_returned = take(e.perform(s.verb()));
  }
  return Flow::Normal;
}

}  // namespace scriptkit::lang::detail
