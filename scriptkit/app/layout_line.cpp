#include "scriptkit/app/layout_line.h"

#include <charconv>
#include <limits>

#include "scriptkit/model/controls.h"

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

void fail(std::string message) {
  throw Failure{std::move(message)};
}

std::string quoted(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

const Token& TokenReader::next(Token::Kind kind, std::string_view key, std::string_view what) {
  if (m_at >= m_tokens.size() || m_tokens[m_at].kind != kind) {
    fail("expected " + std::string(what) + " after " + quoted(key) + " but found " +
         (m_at < m_tokens.size() ? describe_token(m_tokens[m_at])
                                 : std::string("the end of the line")));
  }
  return m_tokens[m_at++];
}

std::int64_t TokenReader::number(std::string_view key, std::int64_t low) {
  const Token& t = next(Token::Kind::Number, key, "a number");
  if (t.number < low || t.number > std::numeric_limits<std::int32_t>::max() / 4) {
    fail("number " + t.text + " is out of range for " + quoted(key));
  }
  return t.number;
}

std::array<int, 4> TokenReader::frame(std::string_view key) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min() / 4;
  int x = int(number(key, kMin)), y = int(number(key, kMin));
  int width = int(number(key, 0)), height = int(number(key, 0));
  return {x, y, width, height};
}

std::array<int, 2> TokenReader::size(std::string_view key) {
  int width = int(number(key, 0)), height = int(number(key, 0));
  return {width, height};
}

std::int32_t TokenReader::state(std::string_view key) {
  const Token& t = next(Token::Kind::Word, key, "on, off or mixed");
  if (t.text == "on") return model::Button::kOn;
  if (t.text == "off") return model::Button::kOff;
  if (t.text == "mixed") return model::Button::kMixed;
  fail("expected on, off or mixed after " + quoted(key) + " but found " + describe_token(t));
}

Value TokenReader::value(model::PropertyType type, std::string_view key) {
  if (type == model::PropertyType::Integer) return Value(number(key, 0));
  if (type == model::PropertyType::Text) {
    return Value(next(Token::Kind::Text, key, "a text in quotes").text);
  }
  const Token& t = next(Token::Kind::Word, key, "true or false");
  if (t.text != "true" && t.text != "false") {
    fail("expected true or false after " + quoted(key) + " but found " + describe_token(t));
  }
  return Value(t.text == "true");
}

}  // namespace scriptkit::app::layout_detail
