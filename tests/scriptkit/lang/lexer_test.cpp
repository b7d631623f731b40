// The lexer: words, numbers, texts and symbols, and where an unclosed comment began.
#include "scriptkit/lang/lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace scriptkit;

namespace {

TEST(Lexer, ReadsWordsNumbersTextsAndSymbols) {
  auto tokens = std::get<std::vector<lang::Token>>(
      lang::tokenize("Set x TO 1.5e2 & \"a\\\"b\" ≠ |Mixed Case|\r\nlog -3"));
  std::vector<std::string> texts;
  for (const auto& t : tokens) texts.push_back(t.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"set", "x", "to", "1.5e2", "&", "a\"b", "≠",
                                             "Mixed Case", "", "log", "-", "3", ""}));
  EXPECT_EQ(tokens[3].kind, lang::TokenKind::Real);
  EXPECT_DOUBLE_EQ(tokens[3].real, 150.0);
  EXPECT_EQ(tokens[9].line, 2);
  EXPECT_EQ(tokens.back().kind, lang::TokenKind::End);
}

TEST(Lexer, ResolvesATextsEscapesAndCountsItsLines) {
  auto tokens = std::get<std::vector<lang::Token>>(
      lang::tokenize("\"a\\tb\\nc\\rd\\\\\"\n\"two\r\nlines\rthree\" x"));
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[0].text, "a\tb\nc\rd\\");
  EXPECT_EQ(tokens[2].text, "two\r\nlines\rthree");
  EXPECT_EQ(tokens[2].line, 2);
  EXPECT_EQ(tokens[3].line, 4);
}

TEST(Lexer, RefusesABackslashThatStartsNoEscape) {
  const std::pair<std::string_view, int> cases[] = {
      {"log \"a\\qb\"", 1}, {"log \"a\\", 1}, {"log 1\nlog \"a\\\nb\"", 2}};
  for (auto [text, line] : cases) {
    auto r = lang::tokenize(text);
    ASSERT_TRUE(failed(r)) << text;
    EXPECT_EQ(std::get<ScriptError>(r).number, kErrSyntax);
    EXPECT_EQ(std::get<ScriptError>(r).message,
              "line " + std::to_string(line) +
                  ": Expected one of \\\", \\\\, \\n, \\r, \\t after \"\\\".");
  }
}

TEST(Lexer, NamesTheLineOfAnOpenComment) {
  auto r = lang::tokenize("log 1\n(* open\n(* nested *)\n");
  ASSERT_TRUE(failed(r));
  EXPECT_EQ(std::get<ScriptError>(r).message,
            "line 4: Expected \"*)\" (to close the comment at line 2) but found end of script.");
}

}  // namespace
