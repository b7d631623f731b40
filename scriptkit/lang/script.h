// Compiling and running scripts. A Script is compiled once and is immutable;
// an Instance holds one running copy's properties and globals and runs the
// script's top level or one of its handlers, against an Environment: the
// window model's application, where `log` writes, and how many steps a run
// may take. Runs fail with the classic numbers of scriptkit/runtime/error.h
// and a message that names what failed; a run never hangs (the step budget)
// and never recurses without bound (the depth limit).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scriptkit/lang/ast.h"
#include "scriptkit/model/view.h"
#include "scriptkit/runtime/error.h"
#include "scriptkit/runtime/value.h"

namespace scriptkit::lang {

// Steps a run may take by default: statements, loop turns, handler calls and
// expression nodes, plus one for every 64 items or bytes a value copies. A
// window command takes about 20; a window script's handler some thousands.
constexpr std::uint64_t kDefaultStepBudget = 1'000'000;

// Receives each `log` line: a text as it is, any other value as a script
// would write it ({1, 2}, button "OK" of window "Main").
using LogSink = std::function<void(std::string_view line)>;

struct Environment {
  std::shared_ptr<model::Application> application;
  LogSink log;
  std::uint64_t step_budget = kDefaultStepBudget;
};

class Script {
 public:
  // Compiles UTF-8 text. Fails with -2740/-2741 and "line N: …".
  static Result<Script> compile(std::string_view utf8_text);

  const Program& program() const { return *m_program; }
  bool has_handler(std::string_view name) const;

 private:
  explicit Script(std::shared_ptr<const Program> program) : m_program(std::move(program)) {}
  std::shared_ptr<const Program> m_program;
  friend class Instance;
};

class Instance {
 public:
  Instance(Script script, Environment environment);
  ~Instance();
  Instance(Instance&&) noexcept;
  Instance& operator=(Instance&&) noexcept;

  // Runs the top level (or the `on run` handler); the value of the last
  // statement or of `return` is the result.
  Result<Value> run();
  // Calls a handler by name ("clicked", "choose menu item") with its
  // parameters. An unknown handler fails with -1708.
  Result<Value> call(std::string_view handler, std::span<const Value> args);
  bool has_handler(std::string_view name) const { return m_script.has_handler(name); }

  const Environment& environment() const { return m_environment; }
  // Steps the last run or call took.
  std::uint64_t steps_taken() const { return m_steps; }

  struct State;  // properties and globals, kept between runs

 private:
  Script m_script;
  Environment m_environment;
  std::unique_ptr<State> m_state;
  std::uint64_t m_steps = 0;
};

// Compiles and runs a text once: the common case of a window command.
Result<Value> run_text(std::string_view utf8_text, const Environment& environment);

}  // namespace scriptkit::lang
