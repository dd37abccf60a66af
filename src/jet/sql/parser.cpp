#include "jet/sql/parser.h"

#include <algorithm>
#include <string>

#include "jet/convert/ascii_case.h"
#include "jet/error.h"
#include "jet/error_numbers.h"
#include "jet/sql/tokenizer.h"
#include "jet/sql/type_names.h"

namespace jet::sql {
namespace {

class Parser {
 public:
  explicit Parser(std::string_view sql) : tokens_(tokenize(sql, unquoted_)) {}

  Statement statement() {
    const Token& first = peek();
    if (isWord(first, "SELECT")) return select();
    if (isWord(first, "CREATE")) return createTable();
    if (isWord(first, "INSERT")) return insert();
    if (isWord(first, "DROP")) return dropTable();
    throw Error(errc::kSyntaxError,
                "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or "
                "'UPDATE'." +
                    notUnderstood(first));
  }

 private:
  Statement select() {
    context_ = "Syntax error in FROM clause.";
    expectWord("SELECT");
    std::string alias;
    if (!acceptSymbol('*')) {
      alias = name();
      expectSymbol('.');
      expectSymbol('*');
    }
    std::string target;
    const bool into = acceptWord("INTO");
    if (into) target = name();
    expectWord("FROM");
    std::string source = name();
    if (!alias.empty()) {
      acceptWord("AS");
      const Token& at = peek();
      if (name() != alias) fail(at);
    }
    finish();
    if (into) return SelectInto{std::move(target), std::move(source)};
    return SelectAll{std::move(source)};
  }

  Statement createTable() {
    context_ = "Syntax error in CREATE TABLE statement.";
    expectWord("CREATE");
    expectWord("TABLE");
    CreateTable create{name(), {}};
    expectSymbol('(');
    do {
      create.columns.push_back(columnDefinition());
    } while (acceptSymbol(','));
    expectSymbol(')');
    finish();
    return create;
  }

  ColumnDefinition columnDefinition() {
    ColumnDefinition column;
    column.name = name();
    const Token& typeToken = peek();
    if (typeToken.kind != Token::Kind::Word) fail(typeToken);
    const std::optional<TypeName> type = lookupTypeName(typeToken.text);
    if (!type) fail(typeToken);
    ++pos_;
    column.type = type->type;
    if (type->arguments == TypeArguments::None || !acceptSymbol('(')) return column;
    if (type->arguments == TypeArguments::Length) {
      const Token& at = peek();
      const unsigned length = unsignedNumber();
      if (length == 0 || length > type->maxLength)
        throw Error(errc::kSyntaxError,
                    "Size of field '" + column.name + "' is too long." + notUnderstood(at));
      column.type.size = static_cast<std::uint16_t>(length);
    } else {
      const Token& at = peek();
      const unsigned precision = unsignedNumber();
      unsigned scale = 0;
      if (acceptSymbol(',')) scale = unsignedNumber();
      if (precision < 1 || precision > 28 || scale > precision)
        throw Error(errc::kSyntaxError,
                    "Invalid precision or scale for field '" + column.name + "'." + notUnderstood(at));
      column.type.precision = static_cast<std::uint8_t>(precision);
      column.type.scale = static_cast<std::uint8_t>(scale);
    }
    expectSymbol(')');
    return column;
  }

  Statement insert() {
    context_ = "Syntax error in INSERT INTO statement.";
    expectWord("INSERT");
    expectWord("INTO");
    InsertValues insert{name(), {}};
    expectWord("VALUES");
    expectSymbol('(');
    insert.values.reserve((tokens_.size() - pos_) / 2);  // a value and a comma each
    do {
      insert.values.push_back(literal());
    } while (acceptSymbol(','));
    expectSymbol(')');
    finish();
    return insert;
  }

  Literal literal() {
    const Token& t = peek();
    if (t.kind == Token::Kind::Text) return {Literal::Kind::Text, takeText()};
    if (t.kind == Token::Kind::Bytes) return {Literal::Kind::Bytes, takeText()};
    if (isWord(t, "NULL")) {
      ++pos_;
      return {Literal::Kind::Null, ""};
    }
    const bool negative = acceptSymbol('-');
    if (!negative) acceptSymbol('+');
    const Token& number = peek();
    if (number.kind != Token::Kind::Number) fail(number);
    if (!negative) return {Literal::Kind::Number, takeText()};
    std::string text = "-";
    text += tokens_[pos_++].text;
    return {Literal::Kind::Number, std::move(text)};
  }

  Statement dropTable() {
    context_ = "Syntax error in DROP TABLE or DROP INDEX.";
    expectWord("DROP");
    expectWord("TABLE");
    DropTable drop{name()};
    finish();
    return drop;
  }

  std::string name() {
    const Token& t = peek();
    if ((t.kind != Token::Kind::Word && t.kind != Token::Kind::QuotedName) || t.text.empty()) fail(t);
    ++pos_;
    return std::string(t.text);
  }

  unsigned unsignedNumber() {
    const Token& t = peek();
    if (t.kind != Token::Kind::Number || t.text.size() > 5 ||
        !std::all_of(t.text.begin(), t.text.end(), [](char c) { return c >= '0' && c <= '9'; }))
      fail(t);
    ++pos_;
    return static_cast<unsigned>(std::stoul(std::string(t.text)));
  }

  void finish() {
    acceptSymbol(';');
    if (peek().kind != Token::Kind::End) fail(peek());
  }

  const Token& peek() const { return tokens_[pos_]; }
  std::string takeText() { return std::string(tokens_[pos_++].text); }

  static bool isWord(const Token& t, std::string_view word) {
    return t.kind == Token::Kind::Word && equalsIgnoringAsciiCase(t.text, word);
  }
  bool acceptWord(std::string_view word) {
    if (!isWord(peek(), word)) return false;
    ++pos_;
    return true;
  }
  void expectWord(std::string_view word) {
    if (!acceptWord(word)) fail(peek());
  }
  bool acceptSymbol(char c) {
    const Token& t = peek();
    if (t.kind != Token::Kind::Symbol || t.text[0] != c) return false;
    ++pos_;
    return true;
  }
  void expectSymbol(char c) {
    if (!acceptSymbol(c)) fail(peek());
  }

  static std::string notUnderstood(const Token& t) {
    if (t.kind == Token::Kind::End) return " The statement ends too early.";
    std::string shown(t.text);
    if (t.kind == Token::Kind::Text) shown = "'" + shown + "'";
    if (t.kind == Token::Kind::QuotedName) shown = "`" + shown + "`";
    return " Not understood: " + shown + " at character " + std::to_string(t.position) + ".";
  }

  [[noreturn]] void fail(const Token& t) const {
    throw Error(errc::kSyntaxError, std::string(context_) + notUnderstood(t));
  }

  std::forward_list<std::string> unquoted_;  // before tokens_, which refer to it
  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  std::string_view context_;  // the statement kind's error text, a literal
};

}  // namespace

Statement parse(std::string_view sql) {
  return Parser(sql).statement();
}

}  // namespace jet::sql
