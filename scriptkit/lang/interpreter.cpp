// The interpreter's statements, variables and limits, and the public Script
// and Instance.
#include "scriptkit/lang/interpreter.h"

#include "scriptkit/lang/parser.h"
#include "scriptkit/model/coerce.h"

namespace scriptkit::lang {
namespace detail {

void fail(std::int16_t number, std::string message) {
  throw RunFailure{ScriptError{number, std::move(message)}};
}

void fail(ScriptError error) {
  throw RunFailure{std::move(error)};
}

Interpreter::Interpreter(const Program& program, const Environment& environment,
                         Instance::State& state)
    : m_program(program), m_env(environment), m_state(state) {}

Interpreter::Depth::Depth(Interpreter& in) : m_in(in) {
  if (++m_in.m_depth > kMaxRunDepth) {
    throw RunFailure{ScriptError{kErrStepBudget, "Stack overflow."}, false};
  }
}

void Interpreter::step(std::uint64_t n) {
  m_steps += n;
  if (m_steps > m_env.step_budget) {
    throw RunFailure{ScriptError{kErrStepBudget, "The script took more than " +
                                                     std::to_string(m_env.step_budget) +
                                                     " steps and was stopped."},
                     false};
  }
}

void Interpreter::initialise() {
  if (m_state.initialised) return;
  Frame init{{}, {}, true};
  m_frame = &init;
  for (const Property& p : m_program.properties) {
    m_state.properties.emplace_back(p.name, eval(*p.initial));
  }
  m_state.initialised = true;
  m_frame = nullptr;
}

Value Interpreter::run_top_level() {
  initialise();
  if (m_program.handlers.count("run")) return call_handler("run", {}, 0);
  Frame frame{{}, {}, true};
  m_frame = &frame;
  m_returned = Value();
  return result_of_body(exec_block(m_program.run));
}

// The value a handler's or the top level's statements gave.
Value Interpreter::result_of_body(Flow flow) {
  if (flow == Flow::Exit) fail(kErrSyntax, "\"exit repeat\" outside of a repeat.");
  return std::exchange(m_returned, Value());
}

// The handler a call names, when the call gives it as many parameters as it takes.
const Handler& Interpreter::handler_for_call(std::string_view name, std::size_t arg_count, int line,
                                             std::string_view spelling) const {
  auto it = m_program.handlers.find(name);
  if (it == m_program.handlers.end()) {
    fail(kErrDoesNotUnderstand, "«script» doesn't understand the \"" +
                                    std::string(spelling.empty() ? name : spelling) +
                                    "\" message.");
  }
  const Handler& h = it->second;
  if (arg_count != h.params.size()) {
    fail(kErrWrongParameterCount, (line ? "line " + std::to_string(line) + ": " : std::string()) +
                                      "The handler \"" +
                                      (h.spelling.empty() ? h.name : h.spelling) + "\" takes " +
                                      std::to_string(h.params.size()) + " parameters, not " +
                                      std::to_string(arg_count) + ".");
  }
  return h;
}

// A handler runs one call deeper, in its own frame and with no tell targets;
// the caller's come back when it ends, also when it fails.
struct Interpreter::HandlerScope {
  HandlerScope(Interpreter& in, Frame& frame) : m_in(in), m_caller(in.m_frame) {
    if (++m_in.m_calls > kMaxCallDepth) {
      --m_in.m_calls;
      throw RunFailure{ScriptError{kErrStepBudget, "Stack overflow."}, false};
    }
    m_caller_targets.swap(m_in.m_targets);
    m_in.m_frame = &frame;
  }
  ~HandlerScope() {
    m_in.m_frame = m_caller;
    m_in.m_targets.swap(m_caller_targets);
    --m_in.m_calls;
  }
  Interpreter& m_in;
  Frame* m_caller;
  std::vector<Value> m_caller_targets;
};

Value Interpreter::call_handler(std::string_view name, std::vector<Value> args, int line,
                                std::string_view spelling) {
  const Handler& h = handler_for_call(name, args.size(), line, spelling);
  Frame frame;
  for (std::size_t i = 0; i < args.size(); ++i) {
    frame.locals.emplace_back(h.params[i], std::move(args[i]));
  }
  HandlerScope scope(*this, frame);
  step();
  m_returned = Value();
  return result_of_body(exec_block(h.body));
}

// ---- statements ------------------------------------------------------------

Flow Interpreter::exec_block(const Block& block) {
  Depth guard(*this);
  for (const auto& stmt : block) {
    Flow flow = exec(*stmt);
    if (flow != Flow::Normal) return flow;
  }
  return Flow::Normal;
}

Flow Interpreter::exec(const Stmt& s) {
  step();
  try {
    return exec_by_kind(s);
  } catch (RunFailure& failure) {
    // Name the line where the failure happened, once.
    if (failure.error.message.rfind("line ", 0) != 0) {
      failure.error.message = "line " + std::to_string(s.line) + ": " + failure.error.message;
    }
    throw;
  }
}

Flow Interpreter::exec_by_kind(const Stmt& s) {
  switch (s.kind) {
    case StmtKind::Expression:
      m_returned = s.value() ? eval(*s.value()) : Value();
      return Flow::Normal;
    case StmtKind::Set:
      return exec_set(s);
    case StmtKind::Tell:
      return exec_tell(s);
    case StmtKind::If:
      return exec_if(s);
    case StmtKind::Repeat:
      return exec_repeat(s);
    case StmtKind::Try:
      return exec_try(s);
    case StmtKind::Considering:
      return exec_considering(s);
    case StmtKind::ExitRepeat:
      return Flow::Exit;
    case StmtKind::Return:
      m_returned = s.value() ? eval(*s.value()) : Value();
      return Flow::Return;
    case StmtKind::Log:
      return exec_log(s);
    case StmtKind::Delete:
      return exec_delete(s);
    case StmtKind::Command:
      return exec_command(s);
    case StmtKind::Error:
      exec_error(s);
    case StmtKind::Global:
      m_frame->declared_globals.insert(m_frame->declared_globals.end(), s.names.begin(),
                                       s.names.end());
      return Flow::Normal;
  }
  return Flow::Normal;
}

// `set x to v`, and `copy v to x`, which sets x to a copy of v.
Flow Interpreter::exec_set(const Stmt& s) {
  Value v = eval(*s.value());
  if (s.verb() == "copy") v = deep_copy(v);
  assign(*s.target(), v);
  m_returned = std::move(v);
  return Flow::Normal;
}

Flow Interpreter::exec_tell(const Stmt& s) {
  m_targets.push_back(eval(*s.target()));
  Flow flow = Flow::Normal;
  try {
    flow = exec_block(s.body);
  } catch (...) {
    m_targets.pop_back();
    throw;
  }
  m_targets.pop_back();
  return flow;
}

Flow Interpreter::exec_if(const Stmt& s) {
  for (std::size_t i = 0; i < s.blocks.size(); ++i) {
    if (i < s.conditions.size() && !take(model::to_boolean(eval(*s.conditions[i])))) continue;
    return exec_block(s.blocks[i]);
  }
  return Flow::Normal;
}

Flow Interpreter::exec_try(const Stmt& s) {
  std::size_t targets = m_targets.size();
  try {
    return exec_block(s.body);
  } catch (RunFailure& failure) {
    if (!failure.catchable) throw;
    m_targets.resize(targets);
    std::string message = failure.error.message;
    if (message.rfind("line ", 0) == 0 && message.find(": ") != std::string::npos) {
      message = message.substr(message.find(": ") + 2);
    }
    if (!s.message_variable().empty()) set_variable(s.message_variable(), Value(message));
    if (!s.number_variable().empty()) {
      set_variable(s.number_variable(), Value(std::int64_t{failure.error.number}));
    }
  }
  return exec_block(s.blocks[0]);
}

Flow Interpreter::exec_log(const Stmt& s) {
  Value v = eval(*s.value());
  if (m_env.log) m_env.log(v.is_text() ? v.as_text() : model::describe_value(v));
  return Flow::Normal;
}

void Interpreter::exec_error(const Stmt& s) {
  std::string message = "An error has occurred.";
  std::int64_t number = kErrScript;
  if (s.message()) message = take(model::to_text(eval(*s.message())));
  if (s.number()) number = take(model::to_integer(eval(*s.number())));
  if (number < INT16_MIN || number > INT16_MAX) number = kErrScript;
  fail(static_cast<std::int16_t>(number), std::move(message));
}

// ---- variables -------------------------------------------------------------

Value* Interpreter::find_variable(std::string_view name) {
  for (auto& [n, v] : m_frame->locals) {
    if (n == name) return &v;
  }
  bool globals_visible = m_frame->top_level;
  for (const auto& g : m_frame->declared_globals) globals_visible |= g == name;
  for (const auto& g : m_program.globals) globals_visible |= g == name;
  if (globals_visible) {
    for (auto& [n, v] : m_state.globals) {
      if (n == name) return &v;
    }
  }
  for (auto& [n, v] : m_state.properties) {
    if (n == name) return &v;
  }
  return nullptr;
}

Value Interpreter::get_variable(const Expr& e) {
  if (Value* v = find_variable(e.name)) return *v;
  undefined(e);
}

void Interpreter::undefined(const Expr& e) {
  fail(kErrUndefinedVariable, "The variable " + std::string(written_name(e)) + " is not defined.");
}

void Interpreter::set_variable(const std::string& name, Value value) {
  if (Value* v = find_variable(name)) {
    *v = std::move(value);
    return;
  }
  bool global = m_frame->top_level;
  for (const auto& g : m_frame->declared_globals) global |= g == name;
  for (const auto& g : m_program.globals) global |= g == name;
  auto& store = global ? m_state.globals : m_frame->locals;
  store.emplace_back(name, std::move(value));
}

}  // namespace detail

// ---- Script and Instance ---------------------------------------------------

Result<Script> Script::compile(std::string_view utf8_text) {
  auto program = parse(utf8_text);
  if (failed(program)) return std::get<ScriptError>(program);
  return Script(std::get<std::shared_ptr<const Program>>(std::move(program)));
}

bool Script::has_handler(std::string_view name) const {
  return m_program->handlers.count(name) != 0;
}

Instance::Instance(Script script, Environment environment)
    : m_script(std::move(script)),
      m_environment(std::move(environment)),
      m_state(std::make_unique<State>()) {}

Instance::~Instance() = default;
Instance::Instance(Instance&&) noexcept = default;
Instance& Instance::operator=(Instance&&) noexcept = default;

Result<Value> Instance::run() {
  detail::Interpreter in(*m_script.m_program, m_environment, *m_state);
  try {
    Value result = in.run_top_level();
    m_steps = in.steps();
    return result;
  } catch (const detail::RunFailure& failure) {
    m_steps = in.steps();
    return failure.error;
  }
}

Result<Value> Instance::call(std::string_view handler, std::span<const Value> args) {
  detail::Interpreter in(*m_script.m_program, m_environment, *m_state);
  try {
    in.initialise();
    Value result = in.call_handler(handler, std::vector<Value>(args.begin(), args.end()), 0);
    m_steps = in.steps();
    return result;
  } catch (const detail::RunFailure& failure) {
    m_steps = in.steps();
    return failure.error;
  }
}

Result<Value> run_text(std::string_view utf8_text, const Environment& environment) {
  auto script = Script::compile(utf8_text);
  if (failed(script)) return std::get<ScriptError>(script);
  Instance instance(std::get<Script>(std::move(script)), environment);
  return instance.run();
}

}  // namespace scriptkit::lang
