#include "scriptkit/app/layout_line.h"

#include <charconv>

namespace scriptkit::app::layout_detail {
namespace {

bool is_word_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// text -> '"' { char | '\"' | '\\' } '"'
bool read_text(std::string_view s, std::size_t& at, std::string& out, std::string& error) {
  ++at;  // the opening quote
  while (at < s.size()) {
    char c = s[at++];
    if (c == '"') return true;
    if (c == '\\') {
      if (at >= s.size() || (s[at] != '"' && s[at] != '\\')) {
        error = "a backslash in a text stands only before \" or \\";
        return false;
      }
      c = s[at++];
    }
    out.push_back(c);
  }
  error = "text left open (no closing \")";
  return false;
}

// number -> ['-'] digit {digit}
bool read_number(std::string_view s, std::size_t& at, Token& token, std::string& error) {
  std::size_t start = at;
  if (s[at] == '-') ++at;
  while (at < s.size() && is_digit(s[at])) ++at;
  token.text = std::string(s.substr(start, at - start));
  auto [end, ec] = std::from_chars(s.data() + start, s.data() + at, token.number);
  if (ec != std::errc() || end != s.data() + at) {
    error = "\"" + token.text + "\" is not a number this layout can hold";
    return false;
  }
  if (at < s.size() && is_word_char(s[at])) {
    error = "a number must not run into a word (\"" + token.text + s[at] + "\")";
    return false;
  }
  return true;
}

}  // namespace

std::optional<Line> split_line(std::string_view s, int number, std::string& error) {
  Line line;
  line.number = number;
  std::size_t at = 0;
  while (at < s.size() && (s[at] == ' ' || s[at] == '\t')) ++at;
  line.indent = static_cast<int>(at);
  while (at < s.size()) {
    char c = s[at];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++at;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      Token token{Token::Kind::Text, {}};
      if (!read_text(s, at, token.text, error)) return std::nullopt;
      line.tokens.push_back(std::move(token));
    } else if (is_digit(c) || (c == '-' && at + 1 < s.size() && is_digit(s[at + 1]))) {
      Token token{Token::Kind::Number, {}};
      if (!read_number(s, at, token, error)) return std::nullopt;
      line.tokens.push_back(std::move(token));
    } else if (is_word_char(c)) {
      std::size_t start = at;
      while (at < s.size() && is_word_char(s[at])) ++at;
      line.tokens.push_back({Token::Kind::Word, std::string(s.substr(start, at - start))});
    } else {
      error = "the character \"" + std::string(1, c) + "\" has no place in a layout";
      return std::nullopt;
    }
  }
  return line;
}

std::string describe_token(const Token& token) {
  switch (token.kind) {
    case Token::Kind::Word:
      return "\"" + token.text + "\"";
    case Token::Kind::Text:
      return "the text \"" + token.text + "\"";
    case Token::Kind::Number:
      return "number " + token.text;
  }
  return {};
}

}  // namespace scriptkit::app::layout_detail
