// A small hand-written scanner for SELECT * FROM `table`.
#include "ado/access/select_statement.h"

#include <cctype>

#include "ado/error.h"

namespace ado::access {
namespace {

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  void skipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  // Consumes `word` (letter case ignored) not followed by a letter or digit.
  void expectKeyword(std::string_view word) {
    skipSpace();
    const std::string_view rest = text_.substr(pos_);
    bool matches = rest.size() >= word.size();
    for (std::size_t i = 0; matches && i < word.size(); ++i)
      matches = std::toupper(static_cast<unsigned char>(rest[i])) == word[i];
    if (matches && word != "*" && rest.size() > word.size()) {
      const auto next = static_cast<unsigned char>(rest[word.size()]);
      matches = !std::isalnum(next) && next != '_';
    }
    if (!matches) fail("expected " + std::string(word));
    pos_ += word.size();
  }
  std::string quotedName() {
    skipSpace();
    if (pos_ >= text_.size() || text_[pos_] != '`') fail("expected a table name in grave accents");
    const auto close = text_.find('`', pos_ + 1);
    if (close == std::string_view::npos) fail("the table name has no closing grave accent");
    std::string name(text_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
    return name;
  }
  void expectEnd() {
    skipSpace();
    if (pos_ < text_.size() && text_[pos_] == ';') ++pos_;
    skipSpace();
    if (pos_ < text_.size()) fail("expected the end of the statement");
  }

 private:
  [[noreturn]] void fail(const std::string& expectation) const {
    const std::string_view rest = text_.substr(pos_);
    throw Error(errc::kSyntaxError, "Syntax error in query: " + expectation + " at '" + std::string(rest) +
                                        "'. Only SELECT * FROM `table` is understood.");
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string parseSelectAll(std::string_view sql) {
  Scanner s(sql);
  s.expectKeyword("SELECT");
  s.expectKeyword("*");
  s.expectKeyword("FROM");
  std::string name = s.quotedName();
  s.expectEnd();
  return name;
}

}  // namespace ado::access
