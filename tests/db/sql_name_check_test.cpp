#include "db/sql_name_check.h"

#include <gtest/gtest.h>

#include "ado/error.h"

namespace {

TEST(SqlNameCheck, FindsTheQuoteOfTheStatementAndControlCharacters) {
  EXPECT_EQ(db::UnsendableCharacter("a\"b", db::kOdbcQuote), QChar('"'));
  EXPECT_EQ(db::UnsendableCharacter("a`b", db::kAccessQuote), QChar('`'));
  EXPECT_EQ(db::UnsendableCharacter(QStringLiteral("a\tb\"c"), db::kOdbcQuote), QChar('\t'));
  EXPECT_EQ(db::UnsendableCharacter(QString(QChar(0)), db::kOdbcQuote), QChar(0));
  // The other side's quote, blanks and non-ASCII letters travel safely.
  EXPECT_FALSE(db::UnsendableCharacter("a`b Ärger", db::kOdbcQuote));
  EXPECT_FALSE(db::UnsendableCharacter("a\"b", db::kAccessQuote));
  EXPECT_FALSE(db::UnsendableCharacter(QString(QChar(0x7f)), db::kAccessQuote));
}

TEST(SqlNameCheck, TheRefusalNamesTheNameAndTheCharacter) {
  EXPECT_NO_THROW(db::RequireSendableName("Order Details", db::kOdbcQuote));
  try {
    db::RequireSendableName("x\"; DROP TABLE \"y", db::kOdbcQuote);
    FAIL() << "a quote was accepted";
  } catch (const ado::Error& e) {
    EXPECT_EQ(e.description(),
              "The name x\"; DROP TABLE \"y holds the character \" (U+0022), which the statement "
              "cannot carry; nothing was sent.");
  }
  try {
    db::RequireSendableName(QStringLiteral("line\nbreak"), db::kAccessQuote);
    FAIL() << "a line feed was accepted";
  } catch (const ado::Error& e) {
    EXPECT_EQ(e.description(),
              "The name line<U+000A>break holds the control character U+000A, which the "
              "statement cannot carry; nothing was sent.");
  }
}

}  // namespace
