#include "ado/decimal_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using ado::Decimal;

unsigned __int128 pow10(int n) {
  unsigned __int128 v = 1;
  while (n-- > 0) v *= 10;
  return v;
}

TEST(ParseDecimalTest, ReadsSignDigitsAndPoint) {
  EXPECT_EQ(ado::parseDecimal("12.34"), (Decimal{false, 2, 1234}));
  EXPECT_EQ(ado::parseDecimal("-0.005"), (Decimal{true, 3, 5}));
  EXPECT_EQ(ado::parseDecimal("+7"), (Decimal{false, 0, 7}));
  EXPECT_EQ(ado::parseDecimal(".5"), (Decimal{false, 1, 5}));
  EXPECT_EQ(ado::parseDecimal("3."), (Decimal{false, 0, 3}));
}

TEST(ParseDecimalTest, ExponentsShiftTheScale) {
  EXPECT_EQ(ado::parseDecimal("1e3"), (Decimal{false, 0, 1000}));
  EXPECT_EQ(ado::parseDecimal("1.5E-2"), (Decimal{false, 3, 15}));
  EXPECT_EQ(ado::parseDecimal("-2.50e+1"), (Decimal{true, 1, 250}));
}

TEST(ParseDecimalTest, ThirtyEightDigitsFitAndThirtyNineDoNot) {
  const std::string nines(38, '9');
  EXPECT_EQ(ado::parseDecimal(nines), (Decimal{false, 0, pow10(38) - 1}));
  EXPECT_FALSE(ado::parseDecimal(nines + "9").has_value());
  EXPECT_FALSE(ado::parseDecimal("1e38").has_value());
  EXPECT_FALSE(ado::parseDecimal("1e-39").has_value());
}

TEST(ParseDecimalTest, RejectsWhatIsNotANumber) {
  for (const char* text : {"", "-", ".", "1.2.3", "abc", "1e", "1e+", "12 ", " 12", "0x10", "1,5"})
    EXPECT_FALSE(ado::parseDecimal(text).has_value()) << '"' << text << '"';
}

TEST(DecimalTextTest, KeepsAllDigitsOfTheScaleAndNeverSignsZero) {
  EXPECT_EQ(ado::decimalText({false, 2, 1250}), "12.50");
  EXPECT_EQ(ado::decimalText({true, 3, 5}), "-0.005");
  EXPECT_EQ(ado::decimalText({true, 2, 0}), "0.00");
  EXPECT_EQ(ado::decimalText({false, 0, 0}), "0");
  EXPECT_EQ(ado::decimalText({false, 38, pow10(38) - 1}), "0." + std::string(38, '9'));
  EXPECT_EQ(ado::decimalText({true, 0, pow10(38) - 1}), "-" + std::string(38, '9'));
}

TEST(DecimalTextTest, TextReadsBackAsTheSameValue) {
  for (const Decimal d : {Decimal{true, 4, 123456789}, Decimal{false, 10, 1}, Decimal{false, 0, 42}})
    EXPECT_EQ(ado::parseDecimal(ado::decimalText(d)), d);
}

TEST(CurrencyTextTest, ExactWithoutTrailingZeros) {
  EXPECT_EQ(ado::currencyText({125000}), "12.5");
  EXPECT_EQ(ado::currencyText({-1}), "-0.0001");
  EXPECT_EQ(ado::currencyText({30000}), "3");
  EXPECT_EQ(ado::currencyText({0}), "0");
  EXPECT_EQ(ado::currencyText({-12345}), "-1.2345");
  EXPECT_EQ(ado::currencyText({std::numeric_limits<std::int64_t>::min()}), "-922337203685477.5808");
  EXPECT_EQ(ado::currencyText({std::numeric_limits<std::int64_t>::max()}), "922337203685477.5807");
}

}  // namespace
