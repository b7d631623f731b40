// The script language's parser: tokens to a Program. One function per rule of
// the grammar, each opening with its rule. Every failure goes through one
// place that adds the line and the token found there; a block left open names
// the line where it was opened:
//   line 4: Expected "end" (to close "tell" at line 1) but found end of script.
// Numbers: -2741 when something else was expected, -2740 when a token cannot
// stand where it is.
#pragma once

#include <memory>
#include <string_view>

#include "scriptkit/lang/ast.h"
#include "scriptkit/runtime/error.h"

namespace scriptkit::lang {

// How deeply blocks and expressions may nest: a limit well past any real
// script that keeps the parser's and the interpreter's recursion off the end
// of the stack for any input.
constexpr int kMaxNesting = 100;

Result<std::shared_ptr<const Program>> parse(std::string_view utf8_text);

}  // namespace scriptkit::lang
