// The statements the program sends to Access, parsed into what the engine
// executes, and the syntax errors for everything else.
#include <gtest/gtest.h>

#include "jet/error.h"
#include "jet/error_numbers.h"
#include "jet/sql/parser.h"

namespace jet::sql {
namespace {

template <typename T>
T parseAs(std::string_view sql) {
  Statement s = parse(sql);
  EXPECT_TRUE(std::holds_alternative<T>(s)) << sql;
  return std::get<T>(s);
}

std::string syntaxErrorOf(std::string_view sql) {
  try {
    parse(sql);
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errc::kSyntaxError) << sql;
    return e.description();
  }
  ADD_FAILURE() << "no error for " << sql;
  return "";
}

TEST(SqlParser, SelectAllWithAndWithoutSemicolon) {
  EXPECT_EQ(parseAs<SelectAll>("SELECT * FROM `Order Details`").table, "Order Details");
  EXPECT_EQ(parseAs<SelectAll>("select * from [t];").table, "t");
  EXPECT_EQ(parseAs<SelectAll>("SELECT * FROM plain").table, "plain");
}

TEST(SqlParser, SelectIntoAsTheRenameSendsIt) {
  const auto s = parseAs<SelectInto>("SELECT a1.* INTO `new name` FROM `old` AS a1;");
  EXPECT_EQ(s.target, "new name");
  EXPECT_EQ(s.source, "old");
  EXPECT_EQ(parseAs<SelectInto>("SELECT * INTO x FROM y").source, "y");
  // The alias must be the one the columns are taken from.
  EXPECT_NE(syntaxErrorOf("SELECT a1.* INTO `n` FROM `o` AS a2;").find("a2"), std::string::npos);
}

TEST(SqlParser, CreateTableAsTheTransferSendsIt) {
  const auto c = parseAs<CreateTable>(
      "CREATE TABLE `orders`(`id` INT,`name` VARCHAR,`paid` VARCHAR,`when` DATETIME,"
      "`amount` DECIMAL,`photo` OLEOBJECT,`ratio` FLOAT);");
  EXPECT_EQ(c.table, "orders");
  ASSERT_EQ(c.columns.size(), 7u);
  EXPECT_EQ(c.columns[0], (ColumnDefinition{"id", {ColumnKind::Long}}));
  EXPECT_EQ(c.columns[1], (ColumnDefinition{"name", {ColumnKind::Text, 255}}));
  EXPECT_EQ(c.columns[3].type.kind, ColumnKind::DateTime);
  EXPECT_EQ(c.columns[4].type, (ColumnType{ColumnKind::Decimal, 0, 18, 0}));
  EXPECT_EQ(c.columns[5].type.kind, ColumnKind::OleObject);
  EXPECT_EQ(c.columns[6].type.kind, ColumnKind::Double);
}

TEST(SqlParser, EveryJetTypeNameAndSynonym) {
  const std::pair<const char*, ColumnType> cases[] = {
      {"TEXT(40)", {ColumnKind::Text, 40}},
      {"char(1)", {ColumnKind::Text, 1}},
      {"CHARACTER", {ColumnKind::Text, 255}},
      {"STRING", {ColumnKind::Text, 255}},
      {"MEMO", {ColumnKind::Memo}},
      {"LongText", {ColumnKind::Memo}},
      {"NOTE", {ColumnKind::Memo}},
      {"INTEGER", {ColumnKind::Long}},
      {"LONG", {ColumnKind::Long}},
      {"SMALLINT", {ColumnKind::Integer}},
      {"SHORT", {ColumnKind::Integer}},
      {"BYTE", {ColumnKind::Byte}},
      {"TINYINT", {ColumnKind::Byte}},
      {"BIT", {ColumnKind::Boolean}},
      {"YESNO", {ColumnKind::Boolean}},
      {"LOGICAL", {ColumnKind::Boolean}},
      {"BOOLEAN", {ColumnKind::Boolean}},
      {"CURRENCY", {ColumnKind::Currency}},
      {"MONEY", {ColumnKind::Currency}},
      {"REAL", {ColumnKind::Single}},
      {"SINGLE", {ColumnKind::Single}},
      {"DOUBLE", {ColumnKind::Double}},
      {"DATE", {ColumnKind::DateTime}},
      {"TIME", {ColumnKind::DateTime}},
      {"NUMERIC(10,2)", {ColumnKind::Decimal, 0, 10, 2}},
      {"DECIMAL(5)", {ColumnKind::Decimal, 0, 5, 0}},
      {"LONGBINARY", {ColumnKind::OleObject}},
      {"IMAGE", {ColumnKind::OleObject}},
      {"GENERAL", {ColumnKind::OleObject}},
      {"BINARY", {ColumnKind::Binary, 510}},
      {"VARBINARY(16)", {ColumnKind::Binary, 16}},
      {"GUID", {ColumnKind::Guid}},
      {"UNIQUEIDENTIFIER", {ColumnKind::Guid}},
      {"COUNTER", {ColumnKind::Long, 0, 0, 0, true}},
      {"AUTOINCREMENT", {ColumnKind::Long, 0, 0, 0, true}},
  };
  for (const auto& [name, type] : cases) {
    const auto c = parseAs<CreateTable>(std::string("CREATE TABLE t (c ") + name + ")");
    ASSERT_EQ(c.columns.size(), 1u) << name;
    EXPECT_EQ(c.columns[0].type, type) << name;
  }
}

TEST(SqlParser, CreateTableErrorsNameWhatWasNotUnderstood) {
  const std::string unknownType = syntaxErrorOf("CREATE TABLE `t`(`a` WIBBLE);");
  EXPECT_EQ(unknownType.rfind("Syntax error in CREATE TABLE statement.", 0), 0u);
  EXPECT_NE(unknownType.find("WIBBLE at character 22"), std::string::npos) << unknownType;
  EXPECT_NE(syntaxErrorOf("CREATE TABLE t (a TEXT(256))").find("too long"), std::string::npos);
  EXPECT_NE(syntaxErrorOf("CREATE TABLE t (a DECIMAL(29))").find("precision"), std::string::npos);
  EXPECT_NE(syntaxErrorOf("CREATE TABLE t (a DECIMAL(5,6))").find("precision"), std::string::npos);
  EXPECT_NE(syntaxErrorOf("CREATE TABLE t (a INT,)").find("Not understood: )"), std::string::npos);
  EXPECT_NE(syntaxErrorOf("CREATE TABLE t (a INT").find("ends too early"), std::string::npos);
  // Types without a size take no parentheses.
  syntaxErrorOf("CREATE TABLE t (a INT(4))");
  syntaxErrorOf("CREATE TABLE `` (a INT)");
}

TEST(SqlParser, InsertValuesAsTheTransferSendsThem) {
  const auto i = parseAs<InsertValues>("INSERT INTO `orders` VALUES('12', 'O''Neil', NULL, 'True')");
  EXPECT_EQ(i.table, "orders");
  const std::vector<Literal> expected = {{Literal::Kind::Text, "12"},
                                         {Literal::Kind::Text, "O'Neil"},
                                         {Literal::Kind::Null, ""},
                                         {Literal::Kind::Text, "True"}};
  EXPECT_EQ(i.values, expected);
  EXPECT_EQ(parseAs<InsertValues>("INSERT INTO t VALUES(NULL)").values.size(), 1u);
  EXPECT_EQ(parseAs<InsertValues>("INSERT INTO t VALUES('''')").values[0].text, "'");
}

TEST(SqlParser, InsertTakesBareSignedNumbersAndDoubleQuotedTexts) {
  const auto i = parseAs<InsertValues>("insert into t values(-3.5, +1E+20, .5, \"a\"\"b\");");
  const std::vector<Literal> expected = {{Literal::Kind::Number, "-3.5"},
                                         {Literal::Kind::Number, "1E+20"},
                                         {Literal::Kind::Number, ".5"},
                                         {Literal::Kind::Text, "a\"b"}};
  EXPECT_EQ(i.values, expected);
}

TEST(SqlParser, HexValuesAreBytesOfWholePairs) {
  const auto i = parseAs<InsertValues>("INSERT INTO t VALUES(0x00fF10, 0X, NULL)");
  const std::vector<Literal> expected = {
      {Literal::Kind::Bytes, "00fF10"}, {Literal::Kind::Bytes, ""}, {Literal::Kind::Null, ""}};
  EXPECT_EQ(i.values, expected);
  EXPECT_EQ(syntaxErrorOf("INSERT INTO t VALUES(0x123)"), "Malformed binary value at character 22.");
  EXPECT_EQ(syntaxErrorOf("INSERT INTO t VALUES(0x12g4)"), "Malformed binary value at character 22.");
}

TEST(SqlParser, QuotedTextsUndoubleEveryQuoteWhereverItStands) {
  const auto i = parseAs<InsertValues>(
      R"(INSERT INTO t VALUES('''a', 'b''', 'c''''d', '', 'x"y', "it's", 'Grüße ''ü''', "say ""hi""!"))");
  const std::vector<Literal> expected = {
      {Literal::Kind::Text, "'a"},        {Literal::Kind::Text, "b'"},         {Literal::Kind::Text, "c''d"},
      {Literal::Kind::Text, ""},          {Literal::Kind::Text, "x\"y"},       {Literal::Kind::Text, "it's"},
      {Literal::Kind::Text, "Grüße 'ü'"}, {Literal::Kind::Text, "say \"hi\"!"}};
  EXPECT_EQ(i.values, expected);
  const std::string longText(5000, 'z');
  EXPECT_EQ(parseAs<InsertValues>("INSERT INTO t VALUES('" + longText + "')").values[0].text, longText);
}

TEST(SqlParser, AnUnclosedTextIsReportedWhereItOpened) {
  EXPECT_EQ(syntaxErrorOf("INSERT INTO t VALUES('a''"), "The text opened at character 22 is not closed.");
  EXPECT_EQ(syntaxErrorOf("INSERT INTO t VALUES('a', 'b''"),
            "The text opened at character 27 is not closed.");
}

TEST(SqlParser, ValueErrorsQuoteTheTokenNotUnderstood) {
  EXPECT_EQ(syntaxErrorOf("INSERT INTO t VALUES('a' 'b')"),
            "Syntax error in INSERT INTO statement. Not understood: 'b' at character 26.");
  EXPECT_EQ(syntaxErrorOf("INSERT INTO t VALUES(-'5')"),
            "Syntax error in INSERT INTO statement. Not understood: '5' at character 23.");
  EXPECT_EQ(parseAs<InsertValues>("INSERT INTO t VALUES(-0012.50)").values[0].text, "-0012.50");
}

TEST(SqlParser, InsertErrors) {
  EXPECT_EQ(syntaxErrorOf("INSERT INTO t VALUES('a'").rfind("Syntax error in INSERT INTO statement.", 0), 0u);
  EXPECT_NE(syntaxErrorOf("INSERT INTO t VALUES('a)").find("not closed"), std::string::npos);
  EXPECT_NE(syntaxErrorOf("INSERT INTO t VALUES(abc)").find("abc"), std::string::npos);
  syntaxErrorOf("INSERT INTO t VALUES()");
  syntaxErrorOf("INSERT INTO t VALUES('a') extra");
}

TEST(SqlParser, DropTableWithOrWithoutSemicolon) {
  EXPECT_EQ(parseAs<DropTable>("DROP TABLE `a b`;").table, "a b");
  EXPECT_EQ(parseAs<DropTable>("DROP TABLE `a b`").table, "a b");
  EXPECT_EQ(syntaxErrorOf("DROP TABLE").rfind("Syntax error in DROP TABLE or DROP INDEX.", 0), 0u);
  // A name holding the quoting character is not escaped by the program and
  // must not be taken for a shorter name.
  syntaxErrorOf("DROP TABLE `a`b`;");
}

TEST(SqlParser, NamesKeepNonAsciiLetters) {
  EXPECT_EQ(parseAs<DropTable>("DROP TABLE Kündigungen").table, "Kündigungen");
  EXPECT_EQ(parseAs<DropTable>("DROP TABLE `Übersicht 2024`").table, "Übersicht 2024");
}

TEST(SqlParser, UnknownStatementsAndCharacters) {
  EXPECT_EQ(syntaxErrorOf("UPDATE t SET a = 1").rfind("Invalid SQL statement;", 0), 0u);
  EXPECT_NE(syntaxErrorOf("DROP TABLE t#").find("'#'"), std::string::npos);
  syntaxErrorOf("");
  syntaxErrorOf("SELECT * FROM `unclosed");
}

}  // namespace
}  // namespace jet::sql
