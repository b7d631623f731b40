// The interpreter's operators and coercions (`as`).
#include <cctype>
#include <cmath>
#include <limits>
#include <optional>

#include "scriptkit/lang/interpreter.h"
#include "scriptkit/model/coerce.h"

namespace scriptkit::lang::detail {
namespace {

using model::describe_value;

// Texts compare without regard to case, as the language does by default,
// or with it (`cased`) inside `considering case`.
int fold(unsigned char c, bool cased) {
  return cased ? c : std::tolower(c);
}

int compare_text(std::string_view a, std::string_view b, bool cased) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int x = fold(static_cast<unsigned char>(a[i]), cased);
    int y = fold(static_cast<unsigned char>(b[i]), cased);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string folded(std::string_view text, bool cased) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(fold(static_cast<unsigned char>(c), cased));
  return out;
}

bool equal(const Value& a, const Value& b, bool cased) {
  if (a.is_number() && b.is_number()) {
    if (a.is_integer() && b.is_integer()) return a.as_integer() == b.as_integer();
    return take(model::to_real(a)) == take(model::to_real(b));
  }
  if (a.data.index() != b.data.index()) return false;
  if (a.is_text()) return compare_text(a.as_text(), b.as_text(), cased) == 0;
  if (a.is_bool()) return a.as_bool() == b.as_bool();
  if (a.is_missing()) return true;
  if (a.is_element()) return a.as_element() == b.as_element();
  if (a.is_class()) return a.as_class() == b.as_class();
  if (a.is_list()) {
    const ValueList& x = a.as_list();
    const ValueList& y = b.as_list();
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
      if (!equal(x[i], y[i], cased)) return false;
    }
    return true;
  }
  const ValueRecord& x = a.as_record();
  const ValueRecord& y = b.as_record();
  if (x.size() != y.size()) return false;
  for (const auto& field : x) {
    auto it = std::find_if(y.begin(), y.end(),
                           [&](const auto& f) { return same_label(f.first, field.first); });
    if (it == y.end() || !equal(field.second, it->second, cased)) return false;
  }
  return true;
}

// A number from a number, a text holding one, or a one-item list.
Value numeric(const Value& v) {
  if (v.is_number()) return v;
  if (v.is_list() && v.as_list().size() == 1) return numeric(v.as_list()[0]);
  if (v.is_text()) {
    double real = take(model::to_real(v));
    if (real == std::trunc(real) && std::fabs(real) < 9e15 &&
        v.as_text().find_first_of(".eE") == std::string::npos) {
      return Value(static_cast<std::int64_t>(real));
    }
    return Value(real);
  }
  fail(model::cant_make(v, "number"));
}

int compare(const Value& a, const Value& b, bool cased) {
  if (a.is_text()) {
    std::string right = take(model::to_text(b));
    return compare_text(a.as_text(), right, cased);
  }
  Value x = numeric(a);
  Value y = numeric(b);
  if (x.is_integer() && y.is_integer()) {
    return x.as_integer() < y.as_integer() ? -1 : x.as_integer() > y.as_integer() ? 1 : 0;
  }
  double p = take(model::to_real(x)), q = take(model::to_real(y));
  return p < q ? -1 : p > q ? 1 : 0;
}

bool contains(const Value& a, const Value& b, bool cased) {
  if (a.is_text()) {
    return folded(a.as_text(), cased).find(folded(take(model::to_text(b)), cased)) !=
           std::string::npos;
  }
  if (a.is_list()) {
    const ValueList& items = a.as_list();
    if (!b.is_list()) {
      return std::any_of(items.begin(), items.end(),
                         [&](const Value& v) { return equal(v, b, cased); });
    }
    const ValueList& part = b.as_list();
    if (part.empty()) return true;
    for (std::size_t i = 0; i + part.size() <= items.size(); ++i) {
      if (std::equal(part.begin(), part.end(), items.begin() + static_cast<std::ptrdiff_t>(i),
                     [&](const Value& x, const Value& y) { return equal(x, y, cased); })) {
        return true;
      }
    }
    return false;
  }
  if (a.is_record() && b.is_record()) {
    const ValueRecord& r = a.as_record();
    for (const auto& field : b.as_record()) {
      auto it = std::find_if(r.begin(), r.end(),
                             [&](const auto& f) { return same_label(f.first, field.first); });
      if (it == r.end() || !equal(it->second, field.second, cased)) return false;
    }
    return true;
  }
  fail(kErrCantMake,
       "Can't tell whether " + describe_value(a) + " contains " + describe_value(b) + ".");
}

bool starts_or_ends(const Value& a, const Value& b, bool start, bool cased) {
  if (a.is_text()) {
    std::string x = folded(a.as_text(), cased);
    std::string y = folded(take(model::to_text(b)), cased);
    if (y.size() > x.size()) return false;
    return start ? x.compare(0, y.size(), y) == 0
                 : x.compare(x.size() - y.size(), y.size(), y) == 0;
  }
  if (a.is_list()) {
    // A list starts with an item, or with the items of another list.
    const ValueList& items = a.as_list();
    ValueList one;
    const ValueList& part = b.is_list() ? b.as_list() : one = ValueList{b};
    if (part.size() > items.size()) return false;
    auto at = start ? items.begin() : items.end() - static_cast<std::ptrdiff_t>(part.size());
    return std::equal(part.begin(), part.end(), at,
                      [&](const Value& x, const Value& y) { return equal(x, y, cased); });
  }
  fail(model::cant_make(a, "text"));
}

[[noreturn]] void divide_by_zero() {
  fail(kErrDivideByZero, "Can't divide by zero.");
}

}  // namespace

Value Interpreter::unary_op(Op op, const Value& a) {
  if (op == Op::Not) return Value(!take(model::to_boolean(a)));
  Value n = numeric(a);
  if (n.is_integer()) {
    if (n.as_integer() == std::numeric_limits<std::int64_t>::min()) {
      return Value(-static_cast<double>(n.as_integer()));
    }
    return Value(-n.as_integer());
  }
  return Value(-n.as_real());
}

Value Interpreter::binary_op(Op op, const Value& a, const Value& b) {
  switch (op) {
    case Op::Concat:
      return concat(a, b);
    case Op::Eq:
      return Value(equal(a, b, m_consider_case));
    case Op::Ne:
      return Value(!equal(a, b, m_consider_case));
    case Op::Lt:
      return Value(compare(a, b, m_consider_case) < 0);
    case Op::Le:
      return Value(compare(a, b, m_consider_case) <= 0);
    case Op::Gt:
      return Value(compare(a, b, m_consider_case) > 0);
    case Op::Ge:
      return Value(compare(a, b, m_consider_case) >= 0);
    case Op::Contains:
      return Value(contains(a, b, m_consider_case));
    case Op::NotContains:
      return Value(!contains(a, b, m_consider_case));
    case Op::In:
      return Value(contains(b, a, m_consider_case));
    case Op::NotIn:
      return Value(!contains(b, a, m_consider_case));
    case Op::StartsWith:
      return Value(starts_or_ends(a, b, true, m_consider_case));
    case Op::EndsWith:
      return Value(starts_or_ends(a, b, false, m_consider_case));
    default:
      break;
  }
  return arithmetic(op, numeric(a), numeric(b));
}

Value Interpreter::arithmetic(Op op, const Value& x, const Value& y) {
  if (x.is_integer() && y.is_integer()) {
    if (std::optional<Value> exact = integer_arithmetic(op, x.as_integer(), y.as_integer())) {
      return *exact;
    }
  }
  double p = take(model::to_real(x)), q = take(model::to_real(y));
  switch (op) {
    case Op::Add:
      return Value(p + q);
    case Op::Sub:
      return Value(p - q);
    case Op::Mul:
      return Value(p * q);
    case Op::Div:
      if (q == 0) divide_by_zero();
      return Value(p / q);
    case Op::IntDiv:
      if (q == 0) divide_by_zero();
      return Value(take(model::to_integer(Value(std::trunc(p / q)))));
    case Op::Mod:
      if (q == 0) divide_by_zero();
      return Value(std::fmod(p, q));
    case Op::Pow:
      return Value(std::pow(p, q));
    default:
      break;
  }
  fail(kErrSyntax, "Unknown operator.");
}

// Integer results where they are exact; none when the sum, difference or
// product overflows (it is then made in reals) or for `/` and `^`.
std::optional<Value> Interpreter::integer_arithmetic(Op op, std::int64_t p, std::int64_t q) {
  std::int64_t r = 0;
  switch (op) {
    case Op::Add:
      if (!__builtin_add_overflow(p, q, &r)) return Value(r);
      break;
    case Op::Sub:
      if (!__builtin_sub_overflow(p, q, &r)) return Value(r);
      break;
    case Op::Mul:
      if (!__builtin_mul_overflow(p, q, &r)) return Value(r);
      break;
    case Op::IntDiv:
      if (q == 0) divide_by_zero();
      if (q == -1) return unary_op(Op::Neg, Value(p));
      return Value(p / q);
    case Op::Mod:
      if (q == 0) divide_by_zero();
      return Value(q == -1 ? std::int64_t{0} : p % q);
    default:
      break;
  }
  return std::nullopt;
}

Value Interpreter::concat(const Value& a, const Value& b) {
  if (a.is_text()) {
    std::string right = text_of(b);
    if (a.as_text().size() + right.size() > kMaxTextBytes) fail(kErrOutOfMemory, "Out of memory.");
    charge_size(a.as_text().size() + right.size());
    return Value(a.as_text() + right);
  }
  if (a.is_record() && b.is_record()) {
    ValueRecord merged = a.as_record();
    for (const auto& field : b.as_record()) {
      auto same = [&](const auto& f) { return same_label(f.first, field.first); };
      if (std::none_of(merged.begin(), merged.end(), same)) merged.push_back(field);
    }
    charge_size(merged.size());
    return Value(std::move(merged));
  }
  ValueList items = a.is_list() ? a.as_list() : ValueList{a};
  if (b.is_list()) {
    if (items.size() + b.as_list().size() > kMaxListItems) fail(kErrOutOfMemory, "Out of memory.");
    items.insert(items.end(), b.as_list().begin(), b.as_list().end());
  } else {
    if (items.size() + 1 > kMaxListItems) fail(kErrOutOfMemory, "Out of memory.");
    items.push_back(b);
  }
  charge_size(items.size());
  return Value(std::move(items));
}

Value Interpreter::coerce(const Value& v, std::string_view cls) {
  if (cls == "text" || cls == "string" || cls == "unicode text") {
    Value text(text_of(v));
    charge_size(text.as_text().size());
    if (text.as_text().size() > kMaxTextBytes) fail(kErrOutOfMemory, "Out of memory.");
    return text;
  }
  if (cls == "integer") return Value(take(model::to_integer(v)));
  if (cls == "real") return Value(take(model::to_real(v)));
  if (cls == "number") return numeric(v);
  if (cls == "boolean") return Value(take(model::to_boolean(v)));
  if (cls == "list") return Value(model::to_list(v));
  if (cls == "record" && v.is_record()) return v;
  if (cls == "class" && v.is_class()) return v;
  if (v.is_element() && v.as_element() && v.as_element()->is_a(cls)) return v;
  fail(model::cant_make(v, cls));
}

Value Interpreter::coerce_to_class(const Value& v, const Value& cls) {
  if (!cls.is_class()) fail(model::cant_make(cls, "class"));
  return coerce(v, cls.as_class().name);
}

}  // namespace scriptkit::lang::detail
