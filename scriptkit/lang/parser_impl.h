// The parser's internals, shared by its source files: the script and its
// blocks (parser.cpp), statements (parser_stmt.cpp), expressions
// (parser_expr.cpp) and terms (parser_term.cpp). Not for use outside the
// parser.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scriptkit/lang/ast.h"
#include "scriptkit/lang/lexer.h"
#include "scriptkit/lang/terms.h"

namespace scriptkit::lang::detail {

// Thrown by the parser's error functions and caught in parse().
struct SyntaxFailure {
  ScriptError error;
};

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}
  std::shared_ptr<Program> script();

 private:
  // Tokens.
  const Token& current() const { return m_tokens[m_pos]; }
  const Token& ahead(std::size_t n) const;
  void advance() {
    if (m_pos + 1 < m_tokens.size()) ++m_pos;
  }
  bool is_word(std::string_view w, std::size_t n = 0) const;
  bool is_symbol(std::string_view s) const;
  bool is_symbol_ahead(std::size_t n, std::string_view s) const;
  bool accept_word(std::string_view w);
  bool accept_words(std::initializer_list<std::string_view> words);
  bool accept_symbol(std::string_view s);
  void expect_word(std::string_view w);
  void expect_symbol(std::string_view s);
  bool at_line_end() const;
  void skip_newlines();
  void end_of_statement();
  // The number of words of the longest phrase of a table at the current token.
  std::size_t phrase_length(const PhraseTable& table) const;
  std::string take_words(std::size_t count);
  std::string name_word(std::string_view what);

  // Errors: all go through fail().
  [[noreturn]] void fail(std::int16_t number, const std::string& message, int line) const;
  [[noreturn]] void expected(const std::string& what) const;
  [[noreturn]] void cant_go_here() const;
  [[noreturn]] void unclosed(std::string_view block, int opened_line) const;

  // Nesting guard for the recursive rules.
  struct Depth {
    explicit Depth(Parser& p);
    ~Depth() { --m_parser.m_depth; }
    Parser& m_parser;
  };

  // The script, its handlers and blocks, and the making of statements
  // (parser.cpp).
  void toplevel(Program& program);
  void handler(Program& program);
  void property_declaration(Program& program);
  Block block(std::string_view opener, int opened_line, bool stop_at_else, bool stop_at_on);
  void close_block(std::string_view opener, int opened_line, std::string_view closer_words = {});
  // The end of the opening line, the block and its closer.
  Block block_to_end(std::string_view opener, int opened_line);
  std::unique_ptr<Stmt> make_stmt(StmtKind kind, int line);
  // A statement of `kind` opened by the current word, which it takes.
  std::unique_ptr<Stmt> opening(StmtKind kind);

  // Statements (parser_stmt.cpp).
  std::unique_ptr<Stmt> statement();
  std::unique_ptr<Stmt> simple_statement();
  std::unique_ptr<Stmt> tell_statement();
  std::unique_ptr<Stmt> if_statement();
  std::unique_ptr<Stmt> repeat_statement();
  std::unique_ptr<Stmt> set_statement(bool copy);
  bool assignable(const Expr& target) const;
  std::unique_ptr<Stmt> try_statement();
  std::unique_ptr<Stmt> considering_statement();
  std::unique_ptr<Stmt> error_statement();
  std::unique_ptr<Stmt> declaration_statement();

  // Expressions, the making of their nodes and the keywords (parser_expr.cpp).
  ExprPtr make_expr(ExprKind kind, int line);
  bool is_keyword(const Token& token) const;
  ExprPtr expression();
  template <typename OperatorHere>
  ExprPtr operator_chain(ExprPtr (Parser::*operand)(), OperatorHere operator_here);
  ExprPtr or_expr();
  ExprPtr and_expr();
  ExprPtr not_expr();
  ExprPtr comparison();
  Op comparison_operator(bool& negated);
  Op is_rest(bool negated);
  bool accept_contraction(std::string_view word);
  ExprPtr concatenation();
  ExprPtr additive();
  ExprPtr multiplicative();
  ExprPtr power();
  ExprPtr unary();
  ExprPtr coercion();
  ExprPtr reference();
  ExprPtr possessed(ExprPtr owner, ExprPtr part);

  // Terms and references (parser_term.cpp).
  ExprPtr primary();
  ExprPtr term();
  ExprPtr vocabulary_term(int line);
  ExprPtr every_of(std::string cls, int line);
  ExprPtr prefixed(ExprKind kind, int line);
  ExprPtr name_term(int line);
  ExprPtr element_key(std::string cls, int line);
  ExprPtr index_key();
  bool is_plain_name() const;
  ExprPtr class_literal(std::string cls, int line);
  ExprPtr delimiters(int line);
  ExprPtr of_container();
  ExprPtr list_or_record();
  ExprPtr call_method();
  ExprPtr make_expression();
  ExprPtr handler_call(const Token& word, int line);
  static void name_as_written(Expr& e, const Token& word);
  // A word as the script wrote it.
  static std::string written(const Token& t) { return t.spelling.empty() ? t.text : t.spelling; }
  std::string class_phrase(bool allow_plural, bool* plural);
  bool starts_key() const;
  bool is_term_start(std::size_t n) const;

  std::vector<Token> m_tokens;
  std::size_t m_pos = 0;
  int m_depth = 0;
};

}  // namespace scriptkit::lang::detail
