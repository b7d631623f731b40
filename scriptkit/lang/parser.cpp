#include "scriptkit/lang/parser.h"

#include "scriptkit/lang/parser_impl.h"

namespace scriptkit::lang {
namespace detail {
namespace {

// The handlers a window script answers, several of them more than one word.
constexpr std::string_view kEventHandlerNames[] = {
    "choose menu item",
    "bounds changed",
    "will quit",
    "awake from nib",
    "will open",
    "will finish launching",
    "double clicked",
    "selection changed",
    "end editing",
    "should quit after last window closed",
    "clicked",
    "launched",
    "open",
    "idle",
    "activated",
    "action",
    "changed",
    "run",
};

}  // namespace

// ---- tokens --------------------------------------------------------------

const Token& Parser::ahead(std::size_t n) const {
  std::size_t at = m_pos + n;
  return at < m_tokens.size() ? m_tokens[at] : m_tokens.back();
}

bool Parser::is_word(std::string_view w, std::size_t n) const {
  const Token& t = ahead(n);
  return t.kind == TokenKind::Word && t.text == w;
}

bool Parser::is_symbol(std::string_view s) const {
  return current().kind == TokenKind::Symbol && current().text == s;
}

bool Parser::is_symbol_ahead(std::size_t n, std::string_view s) const {
  return ahead(n).kind == TokenKind::Symbol && ahead(n).text == s;
}

bool Parser::accept_word(std::string_view w) {
  if (!is_word(w)) return false;
  advance();
  return true;
}

// Accepts a sequence of words only when all of them are there.
bool Parser::accept_words(std::initializer_list<std::string_view> words) {
  std::size_t n = 0;
  for (std::string_view w : words) {
    if (!is_word(w, n++)) return false;
  }
  for (std::size_t i = 0; i < words.size(); ++i) advance();
  return true;
}

bool Parser::accept_symbol(std::string_view s) {
  if (!is_symbol(s)) return false;
  advance();
  return true;
}

void Parser::expect_word(std::string_view w) {
  if (!accept_word(w)) expected("\"" + std::string(w) + "\"");
}

void Parser::expect_symbol(std::string_view s) {
  if (!accept_symbol(s)) expected("\"" + std::string(s) + "\"");
}

bool Parser::at_line_end() const {
  return current().kind == TokenKind::Newline || current().kind == TokenKind::End;
}

void Parser::skip_newlines() {
  while (current().kind == TokenKind::Newline) advance();
}

void Parser::end_of_statement() {
  if (!at_line_end()) cant_go_here();
}

std::size_t Parser::phrase_length(const PhraseTable& table) const {
  return table.longest(m_tokens, m_pos);
}

std::string Parser::take_words(std::size_t count) {
  std::string phrase;
  for (std::size_t i = 0; i < count; ++i) {
    if (i) phrase += ' ';
    phrase += current().text;
    advance();
  }
  return phrase;
}

std::string Parser::name_word(std::string_view what) {
  if (current().kind != TokenKind::Word || is_keyword(current())) expected(std::string(what));
  std::string name = current().text;
  advance();
  return name;
}

// ---- errors --------------------------------------------------------------

void Parser::fail(std::int16_t number, const std::string& message, int line) const {
  throw SyntaxFailure{ScriptError{number, "line " + std::to_string(line) + ": " + message}};
}

void Parser::expected(const std::string& what) const {
  fail(kErrSyntaxType, "Expected " + what + " but found " + describe_token(current()) + ".",
       current().line);
}

void Parser::cant_go_here() const {
  std::string token = describe_token(current());
  bool vowel = std::string_view("aeiou").find(token[0]) != std::string_view::npos;
  fail(kErrSyntax, (vowel ? "An " : "A ") + token + " can't go here.", current().line);
}

void Parser::unclosed(std::string_view block, int opened_line) const {
  expected("\"end\" (to close \"" + std::string(block) + "\" at line " +
           std::to_string(opened_line) + ")");
}

Parser::Depth::Depth(Parser& p) : m_parser(p) {
  if (++m_parser.m_depth > kMaxNesting) {
    m_parser.fail(kErrSyntax, "The script is nested too deeply.", m_parser.current().line);
  }
}

std::unique_ptr<Stmt> Parser::make_stmt(StmtKind kind, int line) {
  auto stmt = std::make_unique<Stmt>();
  stmt->kind = kind;
  stmt->line = line;
  return stmt;
}

std::unique_ptr<Stmt> Parser::opening(StmtKind kind) {
  auto stmt = make_stmt(kind, current().line);
  advance();
  return stmt;
}

// ---- script and handlers -------------------------------------------------

// script -> { toplevel NEWLINE } END
std::shared_ptr<Program> Parser::script() {
  auto program = std::make_shared<Program>();
  for (skip_newlines(); current().kind != TokenKind::End; skip_newlines()) {
    toplevel(*program);
  }
  return program;
}

// toplevel -> handler | 'property' NAME ':' expr | statement
void Parser::toplevel(Program& program) {
  if ((is_word("on") || is_word("to")) && ahead(1).kind == TokenKind::Word) {
    handler(program);
  } else if (is_word("property")) {
    property_declaration(program);
  } else {
    auto stmt = statement();
    if (stmt->kind == StmtKind::Global) {
      program.globals.insert(program.globals.end(), stmt->names.begin(), stmt->names.end());
    }
    program.run.push_back(std::move(stmt));
  }
  end_of_statement();
}

// handler -> ('on'|'to') NAME [ '(' [NAME {',' NAME}] ')' | NAME ] NEWLINE block 'end' [NAME]
void Parser::handler(Program& program) {
  int line = current().line;
  advance();  // on / to
  Handler h;
  h.line = line;
  static const PhraseTable kEventHandlers(kEventHandlerNames);
  if (std::size_t n = phrase_length(kEventHandlers)) {
    h.name = take_words(n);
  } else {
    h.spelling = written(current());
    h.name = name_word("a handler name");
  }
  if (accept_symbol("(")) {
    if (!accept_symbol(")")) {
      do h.params.push_back(name_word("a parameter name"));
      while (accept_symbol(","));
      expect_symbol(")");
    }
  } else if (!at_line_end()) {
    h.params.push_back(name_word("a parameter name or end of line"));
  }
  const std::string shown = h.spelling.empty() ? h.name : h.spelling;
  if (program.handlers.count(h.name)) {
    fail(kErrSyntax, "The handler \"" + shown + "\" is defined more than once.", line);
  }
  end_of_statement();
  h.body = block(shown, line, false, false);
  close_block(shown, line, h.name);
  std::string name = h.name;
  program.handlers.emplace(std::move(name), std::move(h));
}

// property_declaration -> 'property' NAME (':'|'to') expr
void Parser::property_declaration(Program& program) {
  advance();
  std::string name = name_word("a property name");
  if (!accept_symbol(":")) expect_word("to");
  program.properties.push_back(Property{std::move(name), expression()});
}

// block -> { statement NEWLINE } up to 'end' (or 'else', or 'on error')
Block Parser::block(std::string_view opener, int opened_line, bool stop_at_else, bool stop_at_on) {
  Depth guard(*this);
  Block body;
  for (;;) {
    skip_newlines();
    if (current().kind == TokenKind::End) unclosed(opener, opened_line);
    if (is_word("end")) return body;
    if (stop_at_else && is_word("else")) return body;
    if (stop_at_on && is_word("on")) return body;
    body.push_back(statement());
    end_of_statement();
  }
}

// NEWLINE block closer
Block Parser::block_to_end(std::string_view opener, int opened_line) {
  end_of_statement();
  Block body = block(opener, opened_line, false, false);
  close_block(opener, opened_line);
  return body;
}

// closer -> 'end' block words
// The block's words are required after "end", so that a text cut short
// inside its last "end tell" never compiles and runs.
void Parser::close_block(std::string_view opener, int opened_line, std::string_view closer_words) {
  if (!accept_word("end")) unclosed(opener, opened_line);
  std::string_view words = closer_words.empty() ? opener : closer_words;
  std::size_t start = 0;
  for (;;) {
    std::size_t space = words.find(' ', start);
    std::string_view word = words.substr(start, space == words.npos ? words.npos : space - start);
    if (!accept_word(word)) expected("\"" + std::string(word) + "\"");
    if (space == words.npos) return;
    start = space + 1;
  }
}

}  // namespace detail

Result<std::shared_ptr<const Program>> parse(std::string_view utf8_text) {
  Result<std::vector<Token>> tokens = tokenize(utf8_text);
  if (failed(tokens)) return std::get<ScriptError>(tokens);
  try {
    detail::Parser parser(std::get<std::vector<Token>>(std::move(tokens)));
    return std::shared_ptr<const Program>(parser.script());
  } catch (const detail::SyntaxFailure& failure) {
    return failure.error;
  }
}

}  // namespace scriptkit::lang
