// The script language's lexer: turns UTF-8 script text into tokens. Words are
// folded to lower case, since the language ignores case outside of texts;
// comments (-- … and # … to the end of a line, (* … *) nested) are dropped; a
// "¬" joins a line with the next. Line breaks (LF, CR, CR LF) are tokens,
// since they end statements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scriptkit/runtime/error.h"

namespace scriptkit::lang {

enum class TokenKind {
  Word,     // a name or keyword, folded to lower case; |any text| keeps its case
  Integer,  // digits
  Real,     // digits with a fraction or an exponent
  Text,     // "…" with its escapes resolved
  Symbol,   // ( ) { } , : & + - * / ^ = < > ≠ ≤ ≥ ' (<=, >=, <> become ≤, ≥, ≠)
  Newline,
  End,
};

struct Token {
  TokenKind kind;
  std::string text;  // the word, the text's contents or the symbol
  std::int64_t integer = 0;
  double real = 0;
  int line = 1;
  std::string spelling;  // a word as written, for messages; empty when the same as text
};

// Tokens of a whole script, ending with an End token. Fails with -2741 for a
// text, comment or |name| left open and -2740 for a character that has no
// place in a script or a "\" in a text that starts no escape, naming the line.
Result<std::vector<Token>> tokenize(std::string_view text);

// How a token is named in an error message: "end of script", "end of line",
// "\"tell\"", "\"(\"", "number 3", "\"abc\"".
std::string describe_token(const Token& token);

}  // namespace scriptkit::lang
