// INSERT values converted to column types as Jet converts them.
#include "jet/convert/column_value.h"

#include <gtest/gtest.h>

#include "jet/error.h"
#include "jet/error_numbers.h"

namespace jet::convert {
namespace {

using Literal = InputValue;

// A column's type and what that type needs besides.
struct Type {
  ColumnType type;
  std::uint16_t size = 0;
  std::uint8_t precision = 0;
  std::uint8_t scale = 0;
};

NewColumn column(Type t) {
  return {"c", t.type, t.size, t.precision, t.scale};
}
Literal text(std::string t) {
  return {Literal::Kind::Text, std::move(t)};
}
Literal number(std::string t) {
  return {Literal::Kind::Number, std::move(t)};
}

Value convert(Literal l, Type type) {
  return toColumnValue(l, column(type));
}

std::int32_t errorNumber(Literal l, Type type) {
  try {
    convert(std::move(l), type);
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

TEST(ColumnValue, NullFitsEveryColumn) {
  for (ColumnType k : {ColumnType::Boolean, ColumnType::Int32, ColumnType::Text, ColumnType::Memo,
                       ColumnType::DateTime, ColumnType::Guid, ColumnType::Ole})
    EXPECT_EQ(convert({Literal::Kind::Null, ""}, {k, 10}), Value(std::monostate{}));
}

TEST(ColumnValue, IntegersFromTextsAndBareNumbersRoundHalfToEven) {
  EXPECT_EQ(convert(text("12"), {ColumnType::Int32}), Value(std::int32_t{12}));
  EXPECT_EQ(convert(number("-3.5"), {ColumnType::Int32}), Value(std::int32_t{-4}));
  EXPECT_EQ(convert(text("2.5"), {ColumnType::Int16}), Value(std::int16_t{2}));
  EXPECT_EQ(convert(text(" 1E+3 "), {ColumnType::Int16}), Value(std::int16_t{1000}));
  EXPECT_EQ(convert(text("255"), {ColumnType::Byte}), Value(std::uint8_t{255}));
  EXPECT_EQ(convert(text("-2147483648"), {ColumnType::Int32}), Value(std::int32_t{-2147483647 - 1}));
}

TEST(ColumnValue, IntegerLimitsOverflow) {
  EXPECT_EQ(errorNumber(text("256"), {ColumnType::Byte}), errc::kDataOverflow);
  EXPECT_EQ(errorNumber(text("-1"), {ColumnType::Byte}), errc::kDataOverflow);
  EXPECT_EQ(errorNumber(text("32767.5"), {ColumnType::Int16}), errc::kDataOverflow);
  EXPECT_EQ(errorNumber(text("2147483648"), {ColumnType::Int32}), errc::kDataOverflow);
  EXPECT_EQ(errorNumber(text("1E+20"), {ColumnType::Int32}), errc::kDataOverflow);
}

TEST(ColumnValue, NonNumbersAreATypeMismatch) {
  try {
    convert(text("abc"), {ColumnType::Int32});
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errc::kTypeMismatch);
    EXPECT_EQ(e.description().rfind("Data type mismatch in criteria expression.", 0), 0u);
    EXPECT_NE(e.description().find("'abc'"), std::string::npos);
  }
  EXPECT_EQ(errorNumber(text(""), {ColumnType::Double}), errc::kTypeMismatch);
  EXPECT_EQ(errorNumber(text("1,5"), {ColumnType::Double}), errc::kTypeMismatch);
}

TEST(ColumnValue, FloatingPoint) {
  EXPECT_EQ(convert(text("-3.5"), {ColumnType::Double}), Value(-3.5));
  EXPECT_EQ(convert(text("1E+20"), {ColumnType::Double}), Value(1e20));
  EXPECT_EQ(convert(text("0.1"), {ColumnType::Double}), Value(0.1));
  EXPECT_EQ(convert(text("1e-500"), {ColumnType::Double}), Value(0.0));
  EXPECT_EQ(convert(text("0.1"), {ColumnType::Single}), Value(0.1f));
  EXPECT_EQ(errorNumber(text("1e309"), {ColumnType::Double}), errc::kDataOverflow);
  EXPECT_EQ(errorNumber(text("1e39"), {ColumnType::Single}), errc::kDataOverflow);
}

TEST(ColumnValue, CurrencyAndDecimalAreExact) {
  EXPECT_EQ(convert(text("1234.5678"), {ColumnType::Currency}), Value(Currency{12345678}));
  EXPECT_EQ(convert(text("0.00005"), {ColumnType::Currency}), Value(Currency{0}));
  EXPECT_EQ(convert(text("-922337203685477.5808"), {ColumnType::Currency}), Value(Currency{INT64_MIN}));
  EXPECT_EQ(errorNumber(text("922337203685477.5808"), {ColumnType::Currency}), errc::kDataOverflow);
  const Type dec{ColumnType::Numeric, 0, 10, 2};
  EXPECT_EQ(convert(text("-12.345"), dec), Value(Numeric{true, 10, 2, 1234}));
  EXPECT_EQ(convert(text("-0.001"), dec), Value(Numeric{false, 10, 2, 0}));
  EXPECT_EQ(errorNumber(text("123456789"), dec), errc::kDataOverflow);
  const Type wide{ColumnType::Numeric, 0, 28, 0};
  const auto v = std::get<Numeric>(convert(text("9999999999999999999999999999"), wide));
  EXPECT_EQ(v.magnitude / 1000000000000ULL, static_cast<unsigned __int128>(9999999999999999ULL));
}

TEST(ColumnValue, YesNoWordsAndNumbersInAnyCase) {
  for (const char* yes : {"True", "TRUE", "yes", "On", "1", "-1", "2.5"})
    EXPECT_EQ(convert(text(yes), {ColumnType::Boolean}), Value(true)) << yes;
  for (const char* no : {"False", "no", "OFF", "0", "0.0"})
    EXPECT_EQ(convert(text(no), {ColumnType::Boolean}), Value(false)) << no;
  EXPECT_EQ(convert(number("-1"), {ColumnType::Boolean}), Value(true));
  EXPECT_EQ(errorNumber(text("maybe"), {ColumnType::Boolean}), errc::kTypeMismatch);
  // Blanks around the word are ignored; a word only begun or run on is not one.
  EXPECT_EQ(convert(text("  yEs "), {ColumnType::Boolean}), Value(true));
  EXPECT_EQ(convert(text(" off"), {ColumnType::Boolean}), Value(false));
  for (const char* bad : {"tru", "truee", "o n", "   ", "", "\xC3\x9Cn"})
    EXPECT_EQ(errorNumber(text(bad), {ColumnType::Boolean}), errc::kTypeMismatch) << bad;
}

TEST(ColumnValue, DatesFromTextsAndDayNumbers) {
  EXPECT_EQ(convert(text("2024-03-01 12:00:00"), {ColumnType::DateTime}), Value(DateTime{45352.5}));
  EXPECT_EQ(convert(number("2.5"), {ColumnType::DateTime}), Value(DateTime{2.5}));
  EXPECT_EQ(errorNumber(text("yesterday"), {ColumnType::DateTime}), errc::kTypeMismatch);
  EXPECT_EQ(errorNumber(number("1e9"), {ColumnType::DateTime}), errc::kDataOverflow);
}

TEST(ColumnValue, GuidsStoreTheirFirstGroupsLittleEndian) {
  const Guid expected{0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,
                      0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
  EXPECT_EQ(convert(text("{00112233-4455-6677-8899-AABBCCDDEEFF}"), {ColumnType::Guid}), Value(expected));
  EXPECT_EQ(convert(text("00112233-4455-6677-8899-aabbccddeeff"), {ColumnType::Guid}), Value(expected));
  EXPECT_EQ(errorNumber(text("{00112233-4455-6677-8899-AABBCCDDEEF}"), {ColumnType::Guid}),
            errc::kTypeMismatch);
  EXPECT_EQ(errorNumber(text("{0011223344556677-8899-AABBCCDDEEFF-}"), {ColumnType::Guid}),
            errc::kTypeMismatch);
}

TEST(ColumnValue, TextLengthCountsUtf16UnitsAgainstTheColumnSize) {
  EXPECT_EQ(convert(text("Grüße"), {ColumnType::Text, 5}), Value(std::u16string(u"Grüße")));
  // An emoji takes two UTF-16 units, as in Access.
  EXPECT_EQ(convert(text("a😀"), {ColumnType::Text, 3}), Value(std::u16string(u"a😀")));
  try {
    convert(text("a😀"), {ColumnType::Text, 2});
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errc::kDataOverflow);
    EXPECT_NE(e.description().find("is too small"), std::string::npos);
  }
  EXPECT_EQ(convert(text(std::string(100000, 'x')), {ColumnType::Memo}), Value(std::u16string(100000, u'x')));
  EXPECT_EQ(convert(number("-1.50"), {ColumnType::Text, 10}), Value(std::u16string(u"-1.50")));
  EXPECT_EQ(errorNumber(text("\xC3\x28"), {ColumnType::Text, 10}), errc::kTypeMismatch);
}

TEST(ColumnValue, MemoTextsOfEveryUtf8LengthConvertWhole) {
  // One, two, three and four bytes per character, ASCII runs between them.
  EXPECT_EQ(convert(text("ab\xC3\xA9"
                         "cd\xE2\x82\xAC"
                         "e\xF0\x9F\x98\x80"
                         "f"),
                    {ColumnType::Memo}),
            Value(std::u16string(u"ab\u00e9cd\u20ace\U0001F600f")));
  EXPECT_EQ(convert(text(""), {ColumnType::Memo}), Value(std::u16string()));
  // Cut short, overlong, or a surrogate written as UTF-8: not text.
  EXPECT_EQ(errorNumber(text("ok\xE2\x82"), {ColumnType::Memo}), errc::kTypeMismatch);
  EXPECT_EQ(errorNumber(text("\xC0\xAF"), {ColumnType::Memo}), errc::kTypeMismatch);
  EXPECT_EQ(errorNumber(text("\xED\xA0\x80"), {ColumnType::Memo}), errc::kTypeMismatch);
}

TEST(ColumnValue, BinaryAndOleHoldTheTextsUtf16Bytes) {
  const std::vector<std::uint8_t> ab = {'A', 0, 0xE9, 0};
  EXPECT_EQ(convert(text("A\xC3\xA9"), {ColumnType::Ole}), Value(ab));
  EXPECT_EQ(convert(text("A\xC3\xA9"), {ColumnType::Binary, 4}), Value(ab));
  EXPECT_EQ(errorNumber(text("abc"), {ColumnType::Binary, 4}), errc::kDataOverflow);
}

TEST(ColumnValue, HexBytesGoIntoBinaryAndOleColumnsOnly) {
  const Literal bytes{Literal::Kind::Bytes, "00ff10"};
  const std::vector<std::uint8_t> expected = {0x00, 0xff, 0x10};
  EXPECT_EQ(convert(bytes, {ColumnType::Ole}), Value(expected));
  EXPECT_EQ(convert(bytes, {ColumnType::Binary, 3}), Value(expected));
  EXPECT_EQ(errorNumber(bytes, {ColumnType::Binary, 2}), errc::kDataOverflow);
  EXPECT_EQ(errorNumber(bytes, {ColumnType::Text, 50}), errc::kTypeMismatch);
  EXPECT_EQ(errorNumber(bytes, {ColumnType::Int32}), errc::kTypeMismatch);
}

TEST(ColumnValue, RowsNeedOneValuePerColumn) {
  const std::vector<NewColumn> columns = {{"a", ColumnType::Int32}, {"b", ColumnType::Text, 5}};
  const auto row = toRowValues({text("1"), {Literal::Kind::Null, ""}}, columns);
  EXPECT_EQ(row, (std::vector<Value>{std::int32_t{1}, std::monostate{}}));
  try {
    toRowValues({text("1")}, columns);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.description(), "Number of query values and destination fields are not the same.");
  }
}

}  // namespace
}  // namespace jet::convert
