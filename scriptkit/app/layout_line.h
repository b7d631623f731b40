// One line of a window layout, split into its words, texts and numbers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scriptkit/model/property_table.h"
#include "scriptkit/runtime/value.h"

namespace scriptkit::app::layout_detail {

struct Token {
  enum class Kind { Word, Text, Number };
  Kind kind;
  std::string text;  // the word (as written) or the text's contents
  std::int64_t number = 0;
};

struct Line {
  int number = 0;  // 1-based
  int indent = 0;  // leading spaces and tabs
  std::vector<Token> tokens;
};

// Splits a line; on failure returns nothing and stores why in `error`.
// A line holding only blanks or a comment has no tokens.
std::optional<Line> split_line(std::string_view text, int number, std::string& error);

// How a token is named in an error message: "frame", "\"abc\"", "number 3".
std::string describe_token(const Token& token);

// A word or text in double quotes, for an error message.
std::string quoted(std::string_view s);

// What was wrong with a line, thrown by the readers below and by the layout
// loader, which reports it with the line's number.
struct Failure {
  std::string message;
};
[[noreturn]] void fail(std::string message);

// Reads the values of a line's properties, a token or a few at a time; each
// failure names the property whose value was expected ("expected a number
// after "frame" but found "abc"").
class TokenReader {
 public:
  TokenReader(const Line& line, std::size_t at) : m_tokens(line.tokens), m_at(at) {}
  bool done() const { return m_at >= m_tokens.size(); }
  // The next token, which must be of that kind.
  const Token& next(Token::Kind kind, std::string_view key, std::string_view what);
  // A number from `low` to a quarter of the 32-bit range, so that sums of
  // coordinates never overflow.
  std::int64_t number(std::string_view key, std::int64_t low);
  // x y width height: a frame, its corner anywhere, its size not negative.
  std::array<int, 4> frame(std::string_view key);
  // width height.
  std::array<int, 2> size(std::string_view key);
  // on, off or mixed, as a check box's state.
  std::int32_t state(std::string_view key);
  // A text in quotes, true or false, or a number not negative, by the type.
  Value value(model::PropertyType type, std::string_view key);

 private:
  const std::vector<Token>& m_tokens;
  std::size_t m_at;
};

}  // namespace scriptkit::app::layout_detail
