// The parser's primary expressions: literals, variables, handler calls, and
// the terms that name objects and properties (`menu item 1 of menu of …`).
#include <cmath>
#include <string>
#include <vector>

#include "scriptkit/lang/parser_impl.h"
#include "scriptkit/lang/terms.h"

namespace scriptkit::lang::detail {
namespace {

// The classes of values that a script may name as values (`class of x is
// integer`); the element classes and text's classes are in the terms.
constexpr std::string_view kValueClassNames[] = {
    "integer", "real", "number", "string", "unicode", "list", "record", "boolean",
};

// The words of a value class at a token: 2 for "unicode text", else 1 or 0.
// A plain scan: most names are variables, and this runs for each of them.
std::size_t value_class_words(const Token& word, const Token& next) {
  for (std::string_view name : kValueClassNames) {
    if (word.text.size() != name.size() || word.text != name) continue;
    if (name != "unicode") return 1;
    return next.kind == TokenKind::Word && next.text == "text" ? 2 : 0;
  }
  return 0;
}

}  // namespace

// primary -> NUMBER | TEXT | '(' expr ')' | list_or_record | 'true' | 'false'
//   | 'missing' 'value' | 'me' | 'it' | 'my' primary | CONSTANT | 'the' primary
//   | prefixed | 'get' primary | callmethod | make
//   | NAME '(' args ')' | term | NAME
ExprPtr Parser::primary() {
  Depth guard(*this);
  const Token& t = current();
  int line = t.line;
  if (t.kind == TokenKind::Integer || t.kind == TokenKind::Real || t.kind == TokenKind::Text) {
    auto e = make_expr(ExprKind::Literal, line);
    e->value = t.kind == TokenKind::Integer ? Value(t.integer)
               : t.kind == TokenKind::Real  ? Value(t.real)
                                            : Value(t.text);
    advance();
    return e;
  }
  if (accept_symbol("(")) {
    ExprPtr inner = expression();
    expect_symbol(")");
    return inner;
  }
  if (is_symbol("{")) return list_or_record();
  if (t.kind != TokenKind::Word) expected("an expression");
  if (accept_word("the")) return primary();
  if (Value constant; language_constant(t.text, constant)) {
    advance();
    auto e = make_expr(ExprKind::Literal, line);
    e->value = std::move(constant);
    return e;
  }
  if (accept_words({"missing", "value"})) return make_expr(ExprKind::Literal, line);
  if (accept_word("me")) return make_expr(ExprKind::Me, line);
  if (accept_word("it")) return make_expr(ExprKind::It, line);
  if (accept_word("my")) {
    ExprPtr inner = primary();
    if (inner->kind == ExprKind::Call || inner->kind == ExprKind::Property) {
      if (!inner->container()) inner->container() = make_expr(ExprKind::Me, line);
    }
    return inner;
  }
  if (is_word("count") || (is_word("number") && is_word("of", 1))) {
    return prefixed(ExprKind::Count, line);
  }
  if (is_word("exists")) return prefixed(ExprKind::Exists, line);
  if (accept_word("get")) return primary();
  if (is_word("call") && is_word("method", 1)) return call_method();
  if (is_word("make") && is_word("new", 1)) return make_expression();
  return term();
}

// prefixed -> ('count'|'number') ['of'] reference | 'exists' reference
ExprPtr Parser::prefixed(ExprKind kind, int line) {
  advance();
  if (kind == ExprKind::Count) accept_word("of");
  auto e = make_expr(kind, line);
  e->operand() = reference();
  return e;
}

// term -> ('end'|'beginning'|'front'|'back') 'of' reference | 'every' CLASS [of]
//   | ORDINAL CLASS [of] | 'last' CLASS [of] | vocabulary_term | name_term
//   of -> 'of' reference
ExprPtr Parser::term() {
  int line = current().line;
  if ((is_word("end") || is_word("beginning") || is_word("front") || is_word("back")) &&
      is_word("of", 1)) {
    auto e = make_expr(ExprKind::Position, line);
    e->name = current().text == "end" || current().text == "back" ? "end" : "beginning";
    advance();
    e->container() = of_container();
    return e;
  }
  if (accept_word("every")) return every_of(class_phrase(false, nullptr), line);
  if (int ordinal = ordinal_index(current().text); ordinal != 0 && is_term_start(1)) {
    advance();
    auto e = make_expr(ExprKind::ByIndex, line);
    e->name = class_phrase(false, nullptr);
    e->key() = make_expr(ExprKind::Literal, line);
    e->key()->value = Value(std::int64_t{ordinal});
    e->container() = of_container();
    return e;
  }
  if (!terms().starts_any(current().text)) return name_term(line);
  return vocabulary_term(line);
}

// vocabulary_term -> PLURAL [key] [of] | CLASS key [of] | CLASS | PROPERTY [of]
//   | 'text' 'item' 'delimiters' ['of' 'AppleScript'] | name_term
// The longest phrase of the plurals, classes and properties decides; where a
// class and a property both stand here, it is the property unless a key
// follows the class.
ExprPtr Parser::vocabulary_term(int line) {
  std::size_t class_words = phrase_length(terms().classes);
  std::size_t plural_words = phrase_length(terms().plurals);
  std::size_t property_words = phrase_length(terms().properties);
  if (plural_words > class_words && plural_words >= property_words) {
    std::string cls = singular(take_words(plural_words));
    if (starts_key()) return element_key(std::move(cls), line);  // `items 2 thru 3 of`
    return every_of(std::move(cls), line);
  }
  if (class_words > 0 && class_words >= property_words) {
    std::size_t saved = m_pos;
    std::string cls = take_words(class_words);
    if (starts_key()) return element_key(std::move(cls), line);
    if (property_words == 0) return class_literal(std::move(cls), line);  // `is button`
    m_pos = saved;
  }
  if (property_words == 3 && is_word("delimiters", 2)) return delimiters(line);
  if (property_words > 0) {
    auto e = make_expr(ExprKind::Property, line);
    e->name = take_words(property_words);
    e->container() = of_container();
    return e;
  }
  return name_term(line);
}

// every -> CLASS [of], the class already read
ExprPtr Parser::every_of(std::string cls, int line) {
  auto e = make_expr(ExprKind::Every, line);
  e->name = std::move(cls);
  e->container() = of_container();
  return e;
}

// name_term -> VALUECLASS | NAME '(' args ')' [ 'of' 'me' ] | NAME of | NAME
ExprPtr Parser::name_term(int line) {
  if (is_keyword(current())) cant_go_here();
  if (std::size_t n = value_class_words(current(), ahead(1)); n && !is_symbol_ahead(n, "(")) {
    return class_literal(take_words(n), line);
  }
  const Token& word = current();
  advance();
  if (is_symbol("(")) return handler_call(word, line);
  // `units of r`: any label names a property of what follows.
  auto e = make_expr(is_word("of") ? ExprKind::Property : ExprKind::Variable, line);
  name_as_written(*e, word);
  e->container() = of_container();
  return e;
}

// A class as a value (`integer`, `string`, `button`); string and unicode
// text are names of text.
ExprPtr Parser::class_literal(std::string cls, int line) {
  auto e = make_expr(ExprKind::Literal, line);
  e->value = Value(ClassRef{cls == "string" || cls == "unicode text" ? "text" : std::move(cls)});
  return e;
}

// key -> TEXT [of] | index [('thru'|'through') index] [of]
ExprPtr Parser::element_key(std::string cls, int line) {
  auto e = make_expr(ExprKind::ByName, line);
  e->name = std::move(cls);
  if (current().kind == TokenKind::Text) {
    e->key() = primary();
  } else if (ExprPtr index = index_key(); accept_word("thru") || accept_word("through")) {
    e->kind = ExprKind::Range;
    e->from() = std::move(index);
    e->thru() = index_key();
  } else {
    e->kind = ExprKind::ByIndex;
    e->key() = std::move(index);
  }
  e->container() = of_container();
  return e;
}

// index -> '-' NUMBER | NAME | primary
// A name stands alone: in `item i of theList` the `of` is the item's.
ExprPtr Parser::index_key() {
  if (Value constant; is_plain_name() && !language_constant(current().text, constant)) {
    auto e = make_expr(ExprKind::Variable, current().line);
    name_as_written(*e, current());
    advance();
    return e;
  }
  return is_symbol("-") ? unary() : primary();
}

// A word that can only name a variable here: no keyword, term or handler call.
bool Parser::is_plain_name() const {
  return current().kind == TokenKind::Word && !is_keyword(current()) && !is_term_start(0) &&
         !is_symbol_ahead(1, "(") && !is_symbol_ahead(1, "'");
}

// delimiters -> 'text' 'item' 'delimiters' [ 'of' 'AppleScript' ]
ExprPtr Parser::delimiters(int line) {
  take_words(3);
  accept_words({"of", "applescript"});
  return make_expr(ExprKind::Delimiters, line);
}

// of -> [ 'of' reference ]
ExprPtr Parser::of_container() {
  if (!accept_word("of")) return nullptr;
  return reference();
}

bool Parser::starts_key() const {
  const Token& t = current();
  if (t.kind == TokenKind::Text || t.kind == TokenKind::Integer || t.kind == TokenKind::Real) {
    return true;
  }
  if (t.kind == TokenKind::Symbol) {
    return t.text == "(" || (t.text == "-" && (ahead(1).kind == TokenKind::Integer ||
                                               ahead(1).kind == TokenKind::Real));
  }
  return t.kind == TokenKind::Word && !is_keyword(t) && !is_term_start(0);
}

bool Parser::is_term_start(std::size_t n) const {
  const Token& t = ahead(n);
  if (t.kind != TokenKind::Word) return false;
  return terms().classes.starts(t.text) || terms().properties.starts(t.text);
}

// CLASS -> a class name, singular (or plural when allowed)
std::string Parser::class_phrase(bool allow_plural, bool* plural) {
  std::size_t n = phrase_length(terms().classes);
  std::size_t p = allow_plural ? phrase_length(terms().plurals) : 0;
  if (plural) *plural = p > n;
  if (p > n) return singular(take_words(p));
  if (n == 0) expected("a class name");
  return take_words(n);
}

// list_or_record -> '{' [ expr {',' expr} ] '}' | '{' LABEL ':' expr {',' LABEL ':' expr} '}'
ExprPtr Parser::list_or_record() {
  int line = current().line;
  advance();
  skip_newlines();
  auto e = make_expr(ExprKind::List, line);
  if (accept_symbol("}")) return e;
  std::size_t label_words = std::max<std::size_t>(phrase_length(terms().properties), 1);
  if (ahead(label_words).kind == TokenKind::Symbol && ahead(label_words).text == ":" &&
      current().kind == TokenKind::Word) {
    e->kind = ExprKind::Record;
  }
  do {
    skip_newlines();
    if (e->kind == ExprKind::Record) {
      if (current().kind != TokenKind::Word) expected("a label");
      // A window property's name is the model's word; any other label keeps its spelling.
      std::size_t n = phrase_length(terms().properties);
      e->keys.push_back(n ? take_words(n) : written(current()));
      if (!n) advance();
      expect_symbol(":");
    }
    e->items.push_back(expression());
    skip_newlines();
  } while (accept_symbol(","));
  expect_symbol("}");
  return e;
}

// callmethod -> 'call' 'method' primary [ 'of' (['object'] primary | 'class' TEXT) ]
//               [ 'with' ('parameter' expr | 'parameters' expr) ]
ExprPtr Parser::call_method() {
  int line = current().line;
  advance();
  advance();
  auto e = make_expr(ExprKind::CallMethod, line);
  e->selector() = primary();
  if (accept_word("of")) {
    if (accept_word("object")) {
      e->receiver() = primary();
    } else if (accept_word("class")) {
      if (current().kind != TokenKind::Text) expected("a class name in quotes");
      e->name = current().text;
      e->class_receiver = true;
      advance();
    } else {
      e->receiver() = primary();  // `of theTable`, as `of object theTable`
    }
  }
  if (accept_words({"with", "parameter"})) {
    e->items.push_back(expression());
  } else if (accept_words({"with", "parameters"})) {
    ExprPtr args = expression();
    if (args->kind == ExprKind::List) {
      e->items = std::move(args->items);
    } else {
      e->spread_arguments = true;
      e->items.push_back(std::move(args));
    }
  }
  return e;
}

// make -> 'make' 'new' CLASS [ 'at' expr ] [ 'with' 'properties' expr ]
ExprPtr Parser::make_expression() {
  auto e = make_expr(ExprKind::Make, current().line);
  advance();
  advance();
  e->name = class_phrase(false, nullptr);
  for (;;) {
    if (!e->place() && accept_word("at")) {
      e->place() = expression();
    } else if (!e->properties() && accept_words({"with", "properties"})) {
      e->properties() = expression();
    } else {
      return e;
    }
  }
}

void Parser::name_as_written(Expr& e, const Token& word) {
  e.name = word.text;
  if (!word.spelling.empty()) e.value.data.emplace<std::string>(word.spelling);
}

// call -> NAME '(' [ expr {',' expr} ] ')' [ 'of' 'me' ]
ExprPtr Parser::handler_call(const Token& word, int line) {
  auto e = make_expr(ExprKind::Call, line);
  name_as_written(*e, word);
  expect_symbol("(");
  if (!accept_symbol(")")) {
    do e->items.push_back(expression());
    while (accept_symbol(","));
    expect_symbol(")");
  }
  if (is_word("of") && is_word("me", 1)) {
    advance();
    advance();
  }
  return e;
}

}  // namespace scriptkit::lang::detail
