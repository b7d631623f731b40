// The interpreter's internals, shared by its source files (statements,
// expressions, references, ranges, operators). Not for use outside
// scriptkit/lang.
// Failures travel as a thrown RunFailure inside a run and come out of
// Instance::run/call as a ScriptError.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scriptkit/lang/ast.h"
#include "scriptkit/lang/script.h"
#include "scriptkit/model/element.h"

namespace scriptkit::lang {

struct Instance::State {
  std::vector<std::pair<std::string, Value>> properties;
  std::vector<std::pair<std::string, Value>> globals;
  ValueList delimiters{Value("")};  // the text item delimiters, texts
  bool initialised = false;
};

namespace detail {

struct RunFailure {
  ScriptError error;
  bool catchable = true;  // false for an exhausted budget or stack
};

[[noreturn]] void fail(std::int16_t number, std::string message);
[[noreturn]] void fail(ScriptError error);
// The value of a result, or the failure thrown.
template <typename T>
T take(Result<T> result) {
  if (failed(result)) fail(std::get<ScriptError>(std::move(result)));
  return std::get<T>(std::move(result));
}

// Caps that keep one run's memory small whatever the script does.
constexpr std::size_t kMaxTextBytes = 1 << 20;  // 1 MiB per text
constexpr std::size_t kMaxListItems = 1 << 16;  // items per list
constexpr std::size_t kMaxValueDepth = 64;      // lists within lists
constexpr int kMaxRunDepth = 1000;              // nested evaluations and calls
constexpr int kMaxCallDepth = 100;              // nested handler calls
constexpr std::int16_t kErrWrongParameterCount = -1721;
constexpr std::int16_t kErrDivideByZero = -2701;
constexpr std::int16_t kErrOutOfMemory = -108;
constexpr std::int16_t kErrScript = -2700;

enum class Flow { Normal, Exit, Return };

// Whether two record labels are the same: a label keeps its spelling, but
// names are found without regard to case, as variables are.
inline bool same_label(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The characters (code points) of a UTF-8 text.
std::int64_t character_count(std::string_view text);
// True for the classes a text is made of: character, word, paragraph, text
// item, and item and text (both meaning characters).
bool is_text_class(std::string_view cls);
// A text's pieces of one of those classes; text items are cut at the delimiters.
ValueList text_pieces(const std::string& text, std::string_view cls, const ValueList& delimiters);
// The 0-based first and last positions of the range `from thru to` (1-based,
// negative from the end, either order) among `count`; false when outside.
bool resolve_range(std::int64_t from, std::int64_t to, std::size_t count, std::size_t& first,
                   std::size_t& last);

class Interpreter {
 public:
  Interpreter(const Program& program, const Environment& environment, Instance::State& state);

  // Evaluates the properties' initial values on the first run or call.
  void initialise();
  Value run_top_level();
  // `spelling`: the name as the call wrote it, for the message when there is none.
  Value call_handler(std::string_view name, std::vector<Value> args, int line,
                     std::string_view spelling = {});
  std::uint64_t steps() const { return m_steps; }

  // Statements (interpreter.cpp; loops, `considering` and window commands in
  // statements.cpp).
  Flow exec_block(const Block& block);
  Flow exec(const Stmt& stmt);
  Flow exec_by_kind(const Stmt& stmt);
  Flow exec_set(const Stmt& stmt);
  Flow exec_if(const Stmt& stmt);
  Flow exec_repeat(const Stmt& stmt);
  template <typename Turn>
  void take_turns(const Stmt& s, Turn&& turn);
  template <typename Turn>
  void count_from_to(const Stmt& s, Turn&& turn);
  template <typename Turn>
  void count_integers(const Stmt& s, std::int64_t from, std::int64_t to, std::int64_t by,
                      Turn&& turn);
  template <typename Turn>
  void count_reals(const Stmt& s, double from, double to, double by, Turn&& turn);
  Flow exec_try(const Stmt& stmt);
  Flow exec_considering(const Stmt& stmt);
  Flow exec_tell(const Stmt& stmt);

  Flow exec_delete(const Stmt& stmt);
  Flow exec_command(const Stmt& stmt);
  Flow exec_log(const Stmt& stmt);
  [[noreturn]] void exec_error(const Stmt& stmt);

  // Expressions (evaluate.cpp; `make`, a window command, in statements.cpp).
  Value eval(const Expr& e);
  Value eval_binary(const Expr& e);
  Value eval_call(const Expr& e);
  Value eval_call_method(const Expr& e);
  Value eval_count(const Expr& e);
  Value eval_exists(const Expr& e);
  Value eval_list(const Expr& e);
  Value eval_record(const Expr& e);
  Value eval_make(const Expr& e);
  Value builtin_class_method(std::string_view cls, std::string_view selector,
                             std::span<const Value> args);
  Value current_target() const;
  Value current_application() const;

  // References (references.cpp).
  Value eval_property(const Expr& e);
  Value property_of(const Value& container, std::string_view name);
  Value list_property(const Value& list, std::string_view name);
  Value eval_element(const Expr& e);
  Value eval_every(const Expr& e);
  Value eval_position(const Expr& e);
  Value container_of(const Expr& e);
  Value element_container(const Expr& e);
  void assign(const Expr& target, Value value);
  void assign_property(const Expr& target, Value value);
  void assign_each_item(const Expr& target, const Value& value);
  void assign_each_label(const Expr& target, const Value& value);
  void assign_item(const Expr& target, Value value);
  void assign_position(const Expr& target, Value value);

  // Ranges and text items (ranges.cpp).
  Value eval_range(const Expr& e);
  Value text_range(const std::string& text, std::int64_t from, std::int64_t to);
  void assign_delimiters(const Value& value);
  void charge_pieces(const std::string& text);
  // A value as text; a list's items joined by the first text item delimiter.
  std::string text_of(const Value& v);
  void join_items(const ValueList& items, const std::string& delimiter, std::string& out,
                  std::size_t depth);

  // Operators (operators.cpp).
  Value unary_op(Op op, const Value& a);
  Value binary_op(Op op, const Value& a, const Value& b);
  Value arithmetic(Op op, const Value& x, const Value& y);
  std::optional<Value> integer_arithmetic(Op op, std::int64_t p, std::int64_t q);
  Value concat(const Value& a, const Value& b);
  Value coerce(const Value& v, std::string_view cls);
  Value coerce_to_class(const Value& v, const Value& cls);

  // Variables (interpreter.cpp).
  Value* find_variable(std::string_view name);
  Value get_variable(const Expr& e);
  [[noreturn]] void undefined(const Expr& e);
  void set_variable(const std::string& name, Value value);

  // Budget and limits (interpreter.cpp; the checks of values in evaluate.cpp).
  void step(std::uint64_t n = 1);
  void charge_size(std::size_t size) { step(1 + size / 64); }
  // Checks a value about to go into a list or record: its nesting depth.
  void check_nesting(const Value& v);
  // A copy of a value whose lists and records are fresh (for insertion).
  Value deep_copy(const Value& v, std::size_t depth = 0);

  struct Depth {
    explicit Depth(Interpreter& in);
    ~Depth() { --m_in.m_depth; }
    Interpreter& m_in;
  };

 private:
  struct Frame {
    std::vector<std::pair<std::string, Value>> locals;
    std::vector<std::string> declared_globals;
    bool top_level = false;
  };

  struct HandlerScope;
  const Handler& handler_for_call(std::string_view name, std::size_t arg_count, int line,
                                  std::string_view spelling) const;
  Value result_of_body(Flow flow);

  const Program& m_program;
  const Environment& m_env;
  Instance::State& m_state;
  std::vector<Value> m_targets;  // the tell targets, innermost last
  Frame* m_frame = nullptr;
  Value m_returned;
  std::uint64_t m_steps = 0;
  int m_depth = 0;
  int m_calls = 0;
  bool m_consider_case = false;  // inside `considering case`, also in handlers it calls
};

}  // namespace detail
}  // namespace scriptkit::lang
