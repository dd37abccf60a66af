// Exact parsing of invariant number texts and Jet's half-to-even rounding.
#include "jet/convert/decimal_number.h"

#include <gtest/gtest.h>

namespace jet::convert {
namespace {

unsigned long long rounded(std::string_view text, int scale, int maxDigits = 19) {
  const auto n = parseDecimalNumber(text);
  EXPECT_TRUE(n.has_value()) << text;
  const auto m = scaledMagnitude(*n, scale, maxDigits);
  EXPECT_TRUE(m.has_value()) << text;
  return m ? static_cast<unsigned long long>(*m) : 0;
}

TEST(DecimalNumber, ParsesTheInvariantForms) {
  const auto n = parseDecimalNumber(" -003.500 ");
  ASSERT_TRUE(n);
  EXPECT_TRUE(n->negative);
  EXPECT_EQ(n->digits, "3500");
  EXPECT_EQ(n->exponent, -3);
  const auto e = parseDecimalNumber("1E+20");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->digits, "1");
  EXPECT_EQ(e->exponent, 20);
  EXPECT_EQ(parseDecimalNumber("0.000")->digits, "");
  EXPECT_TRUE(parseDecimalNumber(".5"));
  EXPECT_TRUE(parseDecimalNumber("5."));
  EXPECT_TRUE(parseDecimalNumber("2.5e-3"));
}

// Leading zeros may run on past the point; only the significant digits
// stay, the exponent placing them.
TEST(DecimalNumber, LeadingZerosBeforeAndAfterThePointAreDropped) {
  struct Case {
    const char* text;
    const char* digits;
    long exponent;
  };
  for (const Case& c :
       {Case{"000.0012", "12", -4}, Case{".050", "50", -3}, Case{"0012.30", "1230", -2},
        Case{"700", "700", 0}, Case{"0.0e5", "", 0}, Case{"-00", "", 0}, Case{"0.1E-2", "1", -3}}) {
    const auto n = parseDecimalNumber(c.text);
    ASSERT_TRUE(n) << c.text;
    EXPECT_EQ(n->digits, c.digits) << c.text;
    EXPECT_EQ(n->exponent, c.exponent) << c.text;
  }
}

TEST(DecimalNumber, RejectsWhatIsNoNumber) {
  for (const char* bad : {"", " ", "abc", "1,5", "1.2.3", "--1", "1e", "1e+", "0x10", "1 2", "."})
    EXPECT_FALSE(parseDecimalNumber(bad)) << bad;
}

TEST(DecimalNumber, RoundsHalfToEven) {
  EXPECT_EQ(rounded("2.5", 0), 2u);
  EXPECT_EQ(rounded("3.5", 0), 4u);
  EXPECT_EQ(rounded("2.5000001", 0), 3u);
  EXPECT_EQ(rounded("2.4999", 0), 2u);
  EXPECT_EQ(rounded("0.5", 0), 0u);
  EXPECT_EQ(rounded("1.5", 0), 2u);
  EXPECT_EQ(rounded("0.05", 0), 0u);
  EXPECT_EQ(rounded("0.0000001", 0), 0u);
  EXPECT_EQ(rounded("1.00005", 4), 10000u);  // tie, 0 is even
  EXPECT_EQ(rounded("1.00015", 4), 10002u);  // tie, 1 is odd
  EXPECT_EQ(rounded("12", 4), 120000u);
  EXPECT_EQ(rounded("1E+3", 0), 1000u);
  EXPECT_EQ(rounded("12345e-2", 0), 123u);
}

TEST(DecimalNumber, ReportsTooManyDigits) {
  const auto big = parseDecimalNumber("1E+20");
  EXPECT_FALSE(scaledMagnitude(*big, 0, 19));
  EXPECT_TRUE(scaledMagnitude(*big, 0, 21));
  // Rounding up may add a digit: 99.5 to scale 0 within 2 digits is 100.
  EXPECT_FALSE(scaledMagnitude(*parseDecimalNumber("99.5"), 0, 2));
  EXPECT_FALSE(scaledMagnitude(*parseDecimalNumber("1e99999999999"), 0, 38));
}

}  // namespace
}  // namespace jet::convert
