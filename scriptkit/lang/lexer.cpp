#include "scriptkit/lang/lexer.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <optional>

namespace scriptkit::lang {
namespace {

struct Lexer {
  std::string_view src;
  std::size_t at = 0;
  int line = 1;
  std::vector<Token> tokens;

  bool more() const { return at < src.size(); }
  char peek(std::size_t ahead = 0) const {
    return at + ahead < src.size() ? src[at + ahead] : '\0';
  }
  bool looking_at(std::string_view s) const { return src.substr(at, s.size()) == s; }

  ScriptError error(std::int16_t number, std::string message) const {
    return ScriptError{number, "line " + std::to_string(line) + ": " + std::move(message)};
  }

  void push(TokenKind kind, std::string text) {
    tokens.push_back(Token{kind, std::move(text), 0, 0, line, {}});
  }

  // A line break: LF, CR or CR LF. Returns its length, 0 when there is none.
  std::size_t line_break_length() const {
    if (peek() == '\n') return 1;
    if (peek() == '\r') return peek(1) == '\n' ? 2 : 1;
    return 0;
  }

  void skip_line_comment() {
    while (more() && line_break_length() == 0) ++at;
  }

  // (* … *), which may hold further block comments.
  std::optional<ScriptError> skip_block_comment() {
    int depth = 0;
    int opened = line;
    while (more()) {
      if (looking_at("(*")) {
        ++depth;
        at += 2;
      } else if (looking_at("*)")) {
        at += 2;
        if (--depth == 0) return std::nullopt;
      } else if (std::size_t n = line_break_length()) {
        at += n;
        ++line;
      } else {
        ++at;
      }
    }
    return error(kErrSyntaxType, "Expected \"*)\" (to close the comment at line " +
                                     std::to_string(opened) + ") but found end of script.");
  }

  // "…": a text, which may hold line breaks; its escapes are resolved.
  std::optional<ScriptError> read_text() {
    int opened = line;
    ++at;  // the opening quote
    std::string out;
    while (more() && peek() != '"') {
      if (std::size_t n = line_break_length()) {
        out += src.substr(at, n);
        at += n;
        ++line;
      } else if (peek() != '\\') {
        out += src[at++];
      } else if (std::optional<char> c = escaped(peek(1))) {
        out += *c;
        at += 2;
      } else {
        return error(kErrSyntax, "Expected one of \\\", \\\\, \\n, \\r, \\t after \"\\\".");
      }
    }
    if (!more()) {
      return error(kErrSyntaxType, "Expected '\"' (to close the text at line " +
                                       std::to_string(opened) + ") but found end of script.");
    }
    ++at;  // the closing quote
    tokens.push_back(Token{TokenKind::Text, std::move(out), 0, 0, opened, {}});
    return std::nullopt;
  }

  // The character an escape "\x" in a text stands for; nothing for an x
  // that makes no escape.
  static std::optional<char> escaped(char x) {
    switch (x) {
      case '"':
      case '\\':
        return x;
      case 'n':
        return '\n';
      case 'r':
        return '\r';
      case 't':
        return '\t';
    }
    return std::nullopt;
  }

  void read_number() {
    std::size_t start = at;
    bool real = false;
    while (std::isdigit(static_cast<unsigned char>(peek()))) ++at;
    if (peek() == '.' && std::isdigit(static_cast<unsigned char>(peek(1)))) {
      real = true;
      ++at;
      while (std::isdigit(static_cast<unsigned char>(peek()))) ++at;
    }
    if ((peek() == 'e' || peek() == 'E') && (std::isdigit(static_cast<unsigned char>(peek(1))) ||
                                             ((peek(1) == '+' || peek(1) == '-') &&
                                              std::isdigit(static_cast<unsigned char>(peek(2)))))) {
      real = true;
      at += 2;
      while (std::isdigit(static_cast<unsigned char>(peek()))) ++at;
    }
    std::string text(src.substr(start, at - start));
    Token token{TokenKind::Integer, text, 0, 0, line, {}};
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), token.integer);
    if (real || ec != std::errc() || ptr != text.data() + text.size()) {
      token.kind = TokenKind::Real;
      token.real = std::strtod(text.c_str(), nullptr);
    }
    tokens.push_back(std::move(token));
  }

  static bool word_byte(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

  void read_word() {
    std::size_t start = at;
    while (more() && word_byte(static_cast<unsigned char>(peek())) && special_utf8().empty()) ++at;
    std::string_view written = src.substr(start, at - start);
    push(TokenKind::Word, std::string(written));
    Token& word = tokens.back();
    bool folded = false;
    for (char& c : word.text) {
      auto lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      folded |= lower != c;
      c = lower;
    }
    if (folded) word.spelling = written;
  }

  std::optional<ScriptError> read_pipe_word() {
    std::size_t close = src.find('|', at + 1);
    if (close == std::string_view::npos ||
        src.substr(at + 1, close - at - 1).find('\n') != std::string_view::npos) {
      return error(kErrSyntaxType, "Expected \"|\" but found end of line.");
    }
    push(TokenKind::Word, std::string(src.substr(at + 1, close - at - 1)));
    at = close + 1;
    return std::nullopt;
  }

  // The UTF-8 symbols that are not parts of words: ≠ ≤ ≥ ¬.
  std::string_view special_utf8() const {
    if (static_cast<unsigned char>(peek()) < 0x80) return {};
    for (std::string_view s : {"≠", "≤", "≥", "¬"}) {
      if (looking_at(s)) return s;
    }
    return {};
  }

  std::optional<ScriptError> read_symbol() {
    static constexpr std::string_view kTwo[] = {"<=", ">=", "<>"};
    for (std::string_view s : kTwo) {
      if (looking_at(s)) {
        push(TokenKind::Symbol, std::string(s == "<>" ? "≠" : s == "<=" ? "≤" : "≥"));
        at += 2;
        return std::nullopt;
      }
    }
    if (std::string_view s = special_utf8(); !s.empty()) {
      push(TokenKind::Symbol, std::string(s));
      at += s.size();
      return std::nullopt;
    }
    static constexpr std::string_view kOne = "(){},:&+-*/^=<>'";
    if (kOne.find(peek()) != std::string_view::npos) {
      push(TokenKind::Symbol, std::string(1, peek()));
      ++at;
      return std::nullopt;
    }
    std::string shown = std::isprint(static_cast<unsigned char>(peek()))
                            ? "\"" + std::string(1, peek()) + "\""
                            : "character " + std::to_string(static_cast<unsigned char>(peek()));
    return error(kErrSyntax, "A " + shown + " can't go here.");
  }

  std::optional<ScriptError> next() {
    char c = peek();
    if (std::size_t n = line_break_length()) {
      at += n;
      push(TokenKind::Newline, "");
      ++line;
      return std::nullopt;
    }
    if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
      ++at;
      return std::nullopt;
    }
    if (looking_at("¬")) return join_lines();
    if (looking_at("--") || c == '#') {
      skip_line_comment();
      return std::nullopt;
    }
    if (looking_at("(*")) return skip_block_comment();
    if (c == '"') return read_text();
    if (c == '|') return read_pipe_word();
    if (std::isdigit(static_cast<unsigned char>(c))) {
      read_number();
      return std::nullopt;
    }
    if (word_byte(static_cast<unsigned char>(c)) && special_utf8().empty()) {
      read_word();
      return std::nullopt;
    }
    return read_symbol();
  }

  // "¬" continues the statement on the next line.
  std::optional<ScriptError> join_lines() {
    at += std::string_view("¬").size();
    while (peek() == ' ' || peek() == '\t') ++at;
    if (std::size_t n = line_break_length()) {
      at += n;
      ++line;
    }
    return std::nullopt;
  }
};

}  // namespace

Result<std::vector<Token>> tokenize(std::string_view text) {
  Lexer lexer;
  lexer.src = text;
  lexer.tokens.reserve(text.size() / 2 + 2);  // a token every few bytes: one allocation
  while (lexer.more()) {
    if (auto error = lexer.next()) return *error;
  }
  lexer.push(TokenKind::End, "");
  return std::move(lexer.tokens);
}

std::string describe_token(const Token& token) {
  switch (token.kind) {
    case TokenKind::End:
      return "end of script";
    case TokenKind::Newline:
      return "end of line";
    case TokenKind::Integer:
    case TokenKind::Real:
      return "number " + token.text;
    case TokenKind::Text:
      return "\"" + token.text + "\"";
    case TokenKind::Word:
      return "\"" + (token.spelling.empty() ? token.text : token.spelling) + "\"";
    case TokenKind::Symbol:
      return "\"" + token.text + "\"";
  }
  return "?";
}

}  // namespace scriptkit::lang
