// Splits Access SQL text into tokens. Names come bare, in grave accents or
// in square brackets; texts in single or double quotes with the quote
// doubled inside; numbers without their sign (the parser joins a sign);
// bytes as 0x followed by an even number of hex digits.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace jet::sql {

struct Token {
  enum class Kind { Word, QuotedName, Text, Number, Bytes, Symbol, End };
  Kind kind = Kind::End;
  std::string text;          // unquoted content; the character for a Symbol; hex digits for Bytes
  std::size_t position = 0;  // 1-based character position in the statement
};

// Throws jet::Error (syntax error) for an unterminated quote or a character
// that starts no token.
std::vector<Token> tokenize(std::string_view sql);

}  // namespace jet::sql
