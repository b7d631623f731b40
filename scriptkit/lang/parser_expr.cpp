// The parser's expression rules, from the loosest operator to the terms.
#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "scriptkit/lang/parser_impl.h"
#include "scriptkit/lang/terms.h"

namespace scriptkit::lang::detail {
namespace {

// Words that are the language's own and cannot name a variable.
constexpr std::string_view kKeywords[] = {
    "set",        "to",       "of",      "in",      "tell",        "end",        "if",
    "then",       "else",     "repeat",  "return",  "and",         "or",         "not",
    "is",         "on",       "log",     "make",    "new",         "at",         "with",
    "properties", "property", "delete",  "count",   "call",        "method",     "true",
    "false",      "the",      "every",   "my",      "me",          "it",         "try",
    "error",      "exit",     "times",   "while",   "until",       "from",       "by",
    "get",        "copy",     "as",      "div",     "mod",         "contains",   "equal",
    "equals",     "greater",  "less",    "than",    "does",        "starts",     "begins",
    "ends",       "start",    "stop",    "update",  "global",      "local",      "missing",
    "first",      "last",     "number",  "contain", "parameter",   "parameters", "whose",
    "where",      "thru",     "through", "exists",  "considering", "ignoring",
};

}  // namespace

ExprPtr Parser::make_expr(ExprKind kind, int line) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  e->line = line;
  return e;
}

bool Parser::is_keyword(const Token& token) const {
  static const std::unordered_set<std::string_view> kKeywordSet(std::begin(kKeywords),
                                                                std::end(kKeywords));
  return token.kind == TokenKind::Word && kKeywordSet.count(token.text) != 0;
}

namespace {

ExprPtr binary(Op op, ExprPtr left, ExprPtr right, int line) {
  auto e = std::make_unique<Expr>();
  e->kind = ExprKind::Binary;
  e->line = line;
  e->op = op;
  e->left() = std::move(left);
  e->right() = std::move(right);
  return e;
}

}  // namespace

// expr -> orexpr
ExprPtr Parser::expression() {
  Depth guard(*this);
  return or_expr();
}

// chain -> operand { OPERATOR operand }: one level of operators, which
// group from the left; operator_here gives the operator at the current token,
// Op::None where there is none.
template <typename OperatorHere>
ExprPtr Parser::operator_chain(ExprPtr (Parser::*operand)(), OperatorHere operator_here) {
  ExprPtr left = (this->*operand)();
  for (;;) {
    int line = current().line;
    Op op = operator_here();
    if (op == Op::None) return left;
    advance();
    left = binary(op, std::move(left), (this->*operand)(), line);
  }
}

// orexpr -> andexpr { 'or' andexpr }
ExprPtr Parser::or_expr() {
  return operator_chain(&Parser::and_expr, [this] { return is_word("or") ? Op::Or : Op::None; });
}

// andexpr -> notexpr { 'and' notexpr }
ExprPtr Parser::and_expr() {
  return operator_chain(&Parser::not_expr, [this] { return is_word("and") ? Op::And : Op::None; });
}

// notexpr -> 'not' notexpr | comparison
ExprPtr Parser::not_expr() {
  if (!is_word("not")) return comparison();
  Depth guard(*this);
  auto e = make_expr(ExprKind::Unary, current().line);
  advance();
  e->op = Op::Not;
  e->operand() = not_expr();
  return e;
}

// comparison -> concat [ compop concat ]
ExprPtr Parser::comparison() {
  ExprPtr left = concatenation();
  int line = current().line;
  bool negated = false;
  Op op = comparison_operator(negated);
  if (op == Op::None) return left;
  ExprPtr e = binary(op, std::move(left), concatenation(), line);
  if (!negated) return e;
  auto no = make_expr(ExprKind::Unary, line);
  no->op = Op::Not;
  no->operand() = std::move(e);
  return no;
}

// A contraction such as "isn't": the word, "'", "t".
bool Parser::accept_contraction(std::string_view word) {
  if (!is_word(word) || ahead(1).kind != TokenKind::Symbol || ahead(1).text != "'" ||
      !is_word("t", 2)) {
    return false;
  }
  for (int i = 0; i < 3; ++i) advance();
  return true;
}

// compop -> '=' | '≠' | '<' | '>' | '≤' | '≥' | 'equals' | 'contains'
//   | ('does' 'not' | "doesn't") ('contain' | 'equal' | ('start'|'begin'|'end') 'with')
//   | ('starts'|'begins') 'with' | 'ends' 'with' | ('is' ['not'] | "isn't") is_rest
Op Parser::comparison_operator(bool& negated) {
  if (current().kind == TokenKind::Symbol) {
    static constexpr std::pair<std::string_view, Op> kSymbols[] = {
        {"=", Op::Eq}, {"≠", Op::Ne}, {"<", Op::Lt}, {">", Op::Gt}, {"≤", Op::Le}, {"≥", Op::Ge}};
    for (auto [s, op] : kSymbols) {
      if (accept_symbol(s)) return op;
    }
    return Op::None;
  }
  if (accept_word("equals")) return Op::Eq;
  if (accept_word("contains")) return Op::Contains;
  if (accept_words({"starts", "with"}) || accept_words({"begins", "with"})) return Op::StartsWith;
  if (accept_words({"ends", "with"})) return Op::EndsWith;
  if (accept_words({"does", "not"}) || accept_contraction("doesn")) {
    if (accept_word("contain")) return Op::NotContains;
    if (accept_word("equal")) return Op::Ne;
    negated = true;
    if (accept_words({"start", "with"}) || accept_words({"begin", "with"})) return Op::StartsWith;
    expect_word("end");
    expect_word("with");
    return Op::EndsWith;
  }
  if (accept_contraction("isn")) return is_rest(true);
  if (!accept_word("is")) return Op::None;
  return is_rest(accept_word("not"));
}

// is_rest -> ['equal' ['to']] | 'in' | 'contained' 'by'
//   | ('greater'|'less') 'than' ['or' 'equal' ['to']]
Op Parser::is_rest(bool negated) {
  if (accept_word("in")) return negated ? Op::NotIn : Op::In;
  if (accept_words({"contained", "by"})) return negated ? Op::NotIn : Op::In;
  for (bool greater : {true, false}) {
    if (!accept_words({greater ? "greater" : "less", "than"})) continue;
    bool or_equal = accept_words({"or", "equal"});
    if (or_equal) accept_word("to");
    Op op = greater ? (or_equal ? Op::Ge : Op::Gt) : (or_equal ? Op::Le : Op::Lt);
    if (!negated) return op;
    return op == Op::Gt ? Op::Le : op == Op::Ge ? Op::Lt : op == Op::Lt ? Op::Ge : Op::Gt;
  }
  if (accept_word("equal")) accept_word("to");
  return negated ? Op::Ne : Op::Eq;
}

// concat -> additive { '&' additive }
ExprPtr Parser::concatenation() {
  return operator_chain(&Parser::additive,
                        [this] { return is_symbol("&") ? Op::Concat : Op::None; });
}

// additive -> multiplicative { ('+'|'-') multiplicative }
ExprPtr Parser::additive() {
  return operator_chain(&Parser::multiplicative, [this] {
    return is_symbol("+") ? Op::Add : is_symbol("-") ? Op::Sub : Op::None;
  });
}

// multiplicative -> power { ('*'|'/'|'div'|'mod') power }
ExprPtr Parser::multiplicative() {
  return operator_chain(&Parser::power, [this] {
    if (is_symbol("*")) return Op::Mul;
    if (is_symbol("/")) return Op::Div;
    if (is_word("div")) return Op::IntDiv;
    if (is_word("mod")) return Op::Mod;
    return Op::None;
  });
}

// power -> unary [ '^' power ]
ExprPtr Parser::power() {
  ExprPtr base = unary();
  if (!is_symbol("^")) return base;
  Depth guard(*this);
  int line = current().line;
  advance();
  return binary(Op::Pow, std::move(base), power(), line);
}

// unary -> ('-'|'+') unary | coercion
ExprPtr Parser::unary() {
  if (!is_symbol("-") && !is_symbol("+")) return coercion();
  Depth guard(*this);
  bool negate = current().text == "-";
  int line = current().line;
  advance();
  ExprPtr operand = unary();
  if (!negate) return operand;
  auto e = make_expr(ExprKind::Unary, line);
  e->op = Op::Neg;
  e->operand() = std::move(operand);
  return e;
}

// coercion -> reference ['exists'] { 'as' (VALUECLASS | CLASS | primary) }
ExprPtr Parser::coercion() {
  ExprPtr value = reference();
  if (is_word("exists")) {
    auto e = make_expr(ExprKind::Exists, current().line);
    advance();
    e->operand() = std::move(value);
    value = std::move(e);
  }
  while (is_word("as")) {
    int line = current().line;
    advance();
    static constexpr std::string_view kCoercionClasses[] = {
        "text", "string", "unicode text", "integer", "real", "number", "list", "boolean", "record",
    };
    static const PhraseTable kCoercions(kCoercionClasses);
    auto e = make_expr(ExprKind::Coerce, line);
    std::size_t n = std::max(phrase_length(kCoercions), phrase_length(terms().classes));
    if (n) {
      e->name = take_words(n);  // `as integer`, `as text field`
    } else if (is_symbol("(") || (current().kind == TokenKind::Word && !is_keyword(current()))) {
      e->target_class() = primary();  // `as (class of y)`: a class found when the script runs
    } else {
      expected("a class name");
    }
    e->operand() = std::move(value);
    value = std::move(e);
  }
  return value;
}

// reference -> primary { "'s" term }   (terms take their own 'of' containers)
ExprPtr Parser::reference() {
  ExprPtr owner = primary();
  while (is_symbol("'") && is_word("s", 1)) {
    Depth guard(*this);
    advance();
    advance();
    owner = possessed(std::move(owner), term());
  }
  return owner;
}

// `r's units`, `AppleScript's text item delimiters`: what follows "'s" is
// read of what came before it.
ExprPtr Parser::possessed(ExprPtr owner, ExprPtr part) {
  if (part->kind == ExprKind::Delimiters) return part;
  if (part->kind == ExprKind::Variable) part->kind = ExprKind::Property;
  bool reference = part->kind == ExprKind::Property || part->kind == ExprKind::ByName ||
                   part->kind == ExprKind::ByIndex || part->kind == ExprKind::Every ||
                   part->kind == ExprKind::Range;
  if (!reference || part->container()) cant_go_here();
  part->container() = std::move(owner);
  return part;
}

}  // namespace scriptkit::lang::detail
