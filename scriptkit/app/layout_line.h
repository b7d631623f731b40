// One line of a window layout, split into its words, texts and numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

}  // namespace scriptkit::app::layout_detail
