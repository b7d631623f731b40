// The parser's statement rules.
#include <algorithm>

#include "scriptkit/lang/parser_impl.h"

namespace scriptkit::lang::detail {

// statement -> tellstat | ifstat | repeatstat | trystat | consideringstat | simple_statement
std::unique_ptr<Stmt> Parser::statement() {
  Depth guard(*this);
  if (is_word("tell")) return tell_statement();
  if (is_word("if")) return if_statement();
  if (is_word("repeat")) return repeat_statement();
  if (is_word("try")) return try_statement();
  if (is_word("considering") || is_word("ignoring")) return considering_statement();
  return simple_statement();
}

// simple_statement -> setstat | 'copy' expr 'to' expr | 'return' [expr] | 'exit' ['repeat']
//   | 'log' expr | 'delete' expr | ('start'|'stop'|'update') [expr]
//   | errorstat | 'get' expr | ('global'|'local') NAME {',' NAME} | expr
std::unique_ptr<Stmt> Parser::simple_statement() {
  int line = current().line;
  if (is_word("set")) return set_statement(false);
  if (is_word("copy")) return set_statement(true);
  if (is_word("error")) return error_statement();
  if (is_word("global") || is_word("local")) return declaration_statement();
  if (accept_word("return")) {
    auto stmt = make_stmt(StmtKind::Return, line);
    if (!at_line_end()) stmt->value() = expression();
    return stmt;
  }
  if (accept_word("exit")) {
    accept_word("repeat");
    return make_stmt(StmtKind::ExitRepeat, line);
  }
  if (accept_word("log")) {
    auto stmt = make_stmt(StmtKind::Log, line);
    stmt->value() = expression();
    return stmt;
  }
  if (accept_word("delete")) {
    auto stmt = make_stmt(StmtKind::Delete, line);
    stmt->target() = expression();
    return stmt;
  }
  if (is_word("start") || is_word("stop") || is_word("update")) {
    auto stmt = make_stmt(StmtKind::Command, line);
    stmt->verb() = current().text;
    advance();
    if (!at_line_end()) stmt->target() = expression();
    return stmt;
  }
  if (is_word("end") || is_word("else") || is_word("on") || is_word("to") || is_word("property")) {
    cant_go_here();
  }
  accept_word("get");
  auto stmt = make_stmt(StmtKind::Expression, line);
  stmt->value() = expression();
  return stmt;
}

// tellstat -> 'tell' expr ( 'to' statement | NEWLINE block 'end' ['tell'] )
std::unique_ptr<Stmt> Parser::tell_statement() {
  auto stmt = opening(StmtKind::Tell);
  stmt->target() = expression();
  if (accept_word("to")) {
    stmt->body.push_back(statement());
  } else {
    stmt->body = block_to_end("tell", stmt->line);
  }
  return stmt;
}

// ifstat -> 'if' expr ['then'] ( statement
//           | NEWLINE block { 'else' 'if' expr ['then'] NEWLINE block }
//             [ 'else' NEWLINE block ] 'end' ['if'] )
std::unique_ptr<Stmt> Parser::if_statement() {
  auto stmt = opening(StmtKind::If);
  int line = stmt->line;
  stmt->conditions.push_back(expression());
  accept_word("then");
  if (!at_line_end()) {
    Block one;
    one.push_back(statement());
    stmt->blocks.push_back(std::move(one));
    return stmt;
  }
  stmt->blocks.push_back(block("if", line, true, false));
  while (accept_word("else")) {
    if (!accept_word("if")) {
      stmt->blocks.push_back(block_to_end("if", line));
      return stmt;
    }
    stmt->conditions.push_back(expression());
    accept_word("then");
    end_of_statement();
    stmt->blocks.push_back(block("if", line, true, false));
  }
  close_block("if", line);
  return stmt;
}

// repeatstat -> 'repeat' [ expr 'times' | 'while' expr | 'until' expr
//               | 'with' NAME 'from' expr 'to' expr ['by' expr] | 'with' NAME 'in' expr ]
//               NEWLINE block 'end' ['repeat']
std::unique_ptr<Stmt> Parser::repeat_statement() {
  auto stmt = opening(StmtKind::Repeat);
  if (accept_word("while")) {
    stmt->mode = RepeatMode::While;
    stmt->condition() = expression();
  } else if (accept_word("until")) {
    stmt->mode = RepeatMode::Until;
    stmt->condition() = expression();
  } else if (accept_word("with")) {
    stmt->variable() = name_word("a variable name");
    if (accept_word("in")) {
      stmt->mode = RepeatMode::In;
      stmt->list() = expression();
    } else {
      stmt->mode = RepeatMode::FromTo;
      expect_word("from");
      stmt->from() = expression();
      expect_word("to");
      stmt->to() = expression();
      if (accept_word("by")) stmt->by() = expression();
    }
  } else if (!at_line_end()) {
    stmt->mode = RepeatMode::Times;
    stmt->times() = expression();
    expect_word("times");
  }
  stmt->body = block_to_end("repeat", stmt->line);
  return stmt;
}

// setstat -> 'set' target 'to' expr  |  'copy' expr 'to' target
std::unique_ptr<Stmt> Parser::set_statement(bool copy) {
  auto stmt = opening(StmtKind::Set);
  stmt->verb() = copy ? "copy" : "set";
  ExprPtr first = expression();
  expect_word("to");
  ExprPtr second = expression();
  // `set x to v` names the target first, `copy v to x` last.
  stmt->target() = copy ? std::move(second) : std::move(first);
  stmt->value() = copy ? std::move(first) : std::move(second);
  if (!assignable(*stmt->target())) {
    fail(kErrSyntax, "Can't set a value that is not a variable, a property or an element.",
         stmt->line);
  }
  return stmt;
}

// A target of `set`: a reference, or a list or record of targets
// (`set {a, b} to …`, `set {x:a, y:b} to …`).
bool Parser::assignable(const Expr& target) const {
  switch (target.kind) {
    case ExprKind::Variable:
    case ExprKind::Property:
    case ExprKind::ByName:
    case ExprKind::ByIndex:
    case ExprKind::Every:
    case ExprKind::Position:
    case ExprKind::Delimiters:
      return true;
    case ExprKind::List:
    case ExprKind::Record:
      return std::all_of(target.items.begin(), target.items.end(),
                         [this](const ExprPtr& item) { return assignable(*item); });
    default:
      return false;
  }
}

// trystat -> 'try' NEWLINE block [ 'on' 'error' [NAME] ['number' NAME] NEWLINE block ]
//            'end' ['try']
std::unique_ptr<Stmt> Parser::try_statement() {
  auto stmt = opening(StmtKind::Try);
  int line = stmt->line;
  end_of_statement();
  stmt->body = block("try", line, false, true);
  Block on_error;
  if (accept_word("on")) {
    expect_word("error");
    if (!at_line_end() && !is_word("number")) {
      stmt->message_variable() = name_word("a variable name");
    }
    if (accept_word("number")) stmt->number_variable() = name_word("a variable name");
    end_of_statement();
    on_error = block("try", line, false, false);
  }
  stmt->blocks.push_back(std::move(on_error));
  close_block("try", line);
  return stmt;
}

// consideringstat -> ('considering'|'ignoring') 'case' NEWLINE block
//                    'end' ('considering'|'ignoring')
std::unique_ptr<Stmt> Parser::considering_statement() {
  auto stmt = make_stmt(StmtKind::Considering, current().line);
  stmt->verb() = current().text;
  advance();
  expect_word("case");
  stmt->body = block_to_end(stmt->verb(), stmt->line);
  return stmt;
}

// errorstat -> 'error' [expr] ['number' expr]
std::unique_ptr<Stmt> Parser::error_statement() {
  auto stmt = opening(StmtKind::Error);
  if (!at_line_end() && !is_word("number")) stmt->message() = expression();
  if (accept_word("number")) stmt->number() = expression();
  return stmt;
}

// declaration -> ('global'|'local') NAME {',' NAME}
std::unique_ptr<Stmt> Parser::declaration_statement() {
  int line = current().line;
  bool global = current().text == "global";
  advance();
  auto stmt = make_stmt(global ? StmtKind::Global : StmtKind::Expression, line);
  do stmt->names.push_back(name_word("a variable name"));
  while (accept_symbol(","));
  if (!global) {
    // A local declaration only names variables; it runs as an empty statement.
    stmt->value() = make_expr(ExprKind::Literal, line);
  }
  return stmt;
}

}  // namespace scriptkit::lang::detail
