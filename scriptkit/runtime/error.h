// A script error: the classic error number and a message that names what failed.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace scriptkit {

struct ScriptError {
  std::int16_t number = 0;
  std::string message;
};

// Error numbers a script run reports.
enum : std::int16_t {
  kErrSyntax = -2740,      // a token or construct that does not belong here
  kErrSyntaxType = -2741,  // an expression of the wrong kind where another is expected
  kErrCantGet = -1728,     // no such object or element
  kErrCantMake = -1700,    // a value that cannot be coerced
  kErrDoesNotUnderstand = -1708,
  kErrUndefinedVariable = -2753,
  kErrStepBudget = -2706,  // the run took more steps than allowed
  kErrCantSet = -10006,    // a property that cannot be set, or not to that value
};

template <typename T>
using Result = std::variant<T, ScriptError>;

template <typename T>
bool failed(const Result<T>& r) {
  return std::holds_alternative<ScriptError>(r);
}

}  // namespace scriptkit
