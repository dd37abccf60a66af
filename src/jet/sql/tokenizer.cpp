#include "jet/sql/tokenizer.h"

#include "jet/error.h"
#include "jet/error_numbers.h"

namespace jet::sql {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Letters of any script may start a bare name: every byte of a multi-byte
// UTF-8 sequence is >= 0x80.
bool isWordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || c == '_' || isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isHexDigit(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class Scanner {
 public:
  Scanner(std::string_view sql, std::forward_list<std::string>& unquoted) : sql_(sql), unquoted_(unquoted) {}

  std::vector<Token> run() {
    std::vector<Token> tokens;
    // An INSERT has about two tokens per value; one growth step instead of
    // several for a typical row.
    tokens.reserve(16 + sql_.size() / 8);
    while (true) {
      while (pos_ < sql_.size() && isBlank(sql_[pos_])) ++pos_;
      if (pos_ == sql_.size()) break;
      tokens.push_back(next());
    }
    tokens.push_back({Token::Kind::End, {}, sql_.size() + 1});
    return tokens;
  }

 private:
  Token next() {
    const std::size_t start = pos_;
    const char c = sql_[pos_];
    if (c == '`') return enclosed(Token::Kind::QuotedName, '`', "`", start);
    if (c == '[') return enclosed(Token::Kind::QuotedName, ']', "[", start);
    if (c == '\'' || c == '"') return quotedText(c, start);
    if (c == '0' && pos_ + 1 < sql_.size() && (sql_[pos_ + 1] == 'x' || sql_[pos_ + 1] == 'X'))
      return bytes(start);
    if (isDigit(c) || (c == '.' && pos_ + 1 < sql_.size() && isDigit(sql_[pos_ + 1]))) return number(start);
    if (isWordChar(c)) {
      while (pos_ < sql_.size() && isWordChar(sql_[pos_])) ++pos_;
      return {Token::Kind::Word, sql_.substr(start, pos_ - start), start + 1};
    }
    static constexpr std::string_view kSymbols = "(),;.*+-=<>&!/";
    if (kSymbols.find(c) != std::string_view::npos) {
      ++pos_;
      return {Token::Kind::Symbol, sql_.substr(start, 1), start + 1};
    }
    throw Error(errc::kSyntaxError, "Invalid character '" + std::string(1, c) +
                                        "' in query expression at character " + std::to_string(start + 1) +
                                        ".");
  }

  Token enclosed(Token::Kind kind, char close, const char* open, std::size_t start) {
    const std::size_t end = sql_.find(close, pos_ + 1);
    if (end == std::string_view::npos)
      throw Error(errc::kSyntaxError, std::string("The name opened by ") + open + " at character " +
                                          std::to_string(start + 1) + " is not closed.");
    pos_ = end + 1;
    return {kind, sql_.substr(start + 1, end - start - 1), start + 1};
  }

  // A text without doubled quotes is a view of the statement; one with
  // them is copied a stretch at a time, each doubled quote ending a
  // stretch.
  Token quotedText(char quote, std::size_t start) {
    ++pos_;
    const std::size_t first = pos_;
    std::string* copy = nullptr;
    while (true) {
      const std::size_t end = sql_.find(quote, pos_);
      if (end == std::string_view::npos)
        throw Error(errc::kSyntaxError,
                    "The text opened at character " + std::to_string(start + 1) + " is not closed.");
      const bool doubled = end + 1 < sql_.size() && sql_[end + 1] == quote;
      if (!doubled && copy == nullptr) {
        pos_ = end + 1;
        return {Token::Kind::Text, sql_.substr(first, end - first), start + 1};
      }
      if (copy == nullptr) copy = &unquoted_.emplace_front();
      copy->append(sql_.substr(pos_, end - pos_));
      if (!doubled) {
        pos_ = end + 1;
        return {Token::Kind::Text, *copy, start + 1};
      }
      *copy += quote;
      pos_ = end + 2;
    }
  }

  // 0x and the hex digits of whole bytes; the digits must end the word.
  Token bytes(std::size_t start) {
    pos_ += 2;
    while (pos_ < sql_.size() && isHexDigit(sql_[pos_])) ++pos_;
    const std::size_t digits = pos_ - start - 2;
    if (digits % 2 != 0 || (pos_ < sql_.size() && isWordChar(sql_[pos_])))
      throw Error(errc::kSyntaxError,
                  "Malformed binary value at character " + std::to_string(start + 1) + ".");
    return {Token::Kind::Bytes, sql_.substr(start + 2, digits), start + 1};
  }

  Token number(std::size_t start) {
    auto digits = [&] {
      while (pos_ < sql_.size() && isDigit(sql_[pos_])) ++pos_;
    };
    digits();
    if (pos_ < sql_.size() && sql_[pos_] == '.') {
      ++pos_;
      digits();
    }
    if (pos_ < sql_.size() && (sql_[pos_] == 'e' || sql_[pos_] == 'E')) {
      std::size_t p = pos_ + 1;
      if (p < sql_.size() && (sql_[p] == '+' || sql_[p] == '-')) ++p;
      if (p < sql_.size() && isDigit(sql_[p])) {
        pos_ = p;
        digits();
      }
    }
    return {Token::Kind::Number, sql_.substr(start, pos_ - start), start + 1};
  }

  std::string_view sql_;
  std::forward_list<std::string>& unquoted_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<Token> tokenize(std::string_view sql, std::forward_list<std::string>& unquoted) {
  return Scanner(sql, unquoted).run();
}

}  // namespace jet::sql
