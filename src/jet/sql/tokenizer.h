// Splits Access SQL text into tokens. Names come bare, in grave accents or
// in square brackets; texts in single or double quotes with the quote
// doubled inside; numbers without their sign (the parser joins a sign);
// bytes as 0x followed by an even number of hex digits.
#pragma once

#include <cstddef>
#include <forward_list>
#include <string>
#include <string_view>
#include <vector>

namespace jet::sql {

struct Token {
  enum class Kind { Word, QuotedName, Text, Number, Bytes, Symbol, End };
  Kind kind = Kind::End;
  // Unquoted content; the character for a Symbol; hex digits for Bytes. A
  // view of the statement, or of a copy in `unquoted` for a text with
  // doubled quotes: tokens own no memory, since an INSERT has a few dozen.
  std::string_view text;
  std::size_t position = 0;  // 1-based character position in the statement
};

// The tokens of `sql`, valid as long as `sql` and `unquoted` are. Throws
// jet::Error (syntax error) for an unterminated quote or a character that
// starts no token.
std::vector<Token> tokenize(std::string_view sql, std::forward_list<std::string>& unquoted);

}  // namespace jet::sql
