// The value text of `accessdb export`, which the oracle comparisons and
// the benchmark read.
#include "export_text.h"

#include <gtest/gtest.h>

namespace accessdb {
namespace {

std::string text(const ado::Variant& v) {
  std::string out;
  appendExportText(v, out);
  return out;
}

TEST(ExportText, NullsNumbersAndFlags) {
  EXPECT_EQ(text(ado::Variant::null()), "\\N");
  EXPECT_EQ(text(ado::Variant::boolean(true)), "1");
  EXPECT_EQ(text(ado::Variant::boolean(false)), "0");
  EXPECT_EQ(text(ado::Variant::uint8(255)), "255");
  EXPECT_EQ(text(ado::Variant::int16(-32768)), "-32768");
  EXPECT_EQ(text(ado::Variant::int64(-9223372036854775807LL - 1)), "-9223372036854775808");
}

TEST(ExportText, FloatingPointIsShortestRoundTrip) {
  EXPECT_EQ(text(ado::Variant::real(444.555)), "444.555");
  EXPECT_EQ(text(ado::Variant::real(0.1 + 0.2)), "0.30000000000000004");
  EXPECT_EQ(text(ado::Variant::single(2583.2092f)), "2583.2092");
  EXPECT_EQ(text(ado::Variant::real(1e21)), "1e+21");
}

TEST(ExportText, ExactDecimalsLoseTrailingZeros) {
  EXPECT_EQ(text(ado::Variant::currency({35000})), "3.5");
  EXPECT_EQ(text(ado::Variant::currency({-1})), "-0.0001");
  EXPECT_EQ(text(ado::Variant::decimal({false, 6, 50325000})), "50.325");
  EXPECT_EQ(text(ado::Variant::decimal({true, 3, 12000})), "-12");
  EXPECT_EQ(text(ado::Variant::decimal({false, 0, 120})), "120");
}

TEST(ExportText, DatesWithMillisecondsOnlyWhenPresent) {
  EXPECT_EQ(text(ado::Variant::date({0})), "1899-12-30 00:00:00");
  EXPECT_EQ(text(ado::Variant::date({44361.53125})), "2021-06-14 12:45:00");
  EXPECT_EQ(text(ado::Variant::date({-115858})), "1582-10-15 00:00:00");
  EXPECT_EQ(text(ado::Variant::date({-1.25})), "1899-12-29 06:00:00");  // the time still counts forward
  EXPECT_EQ(text(ado::Variant::date({0.5 + 0.25 / 86400})), "1899-12-30 12:00:00.25");
  EXPECT_EQ(text(ado::Variant::date({1.0 - 0.0001 / 86400})), "1899-12-31 00:00:00");  // rounds up a day
}

TEST(ExportText, TextIsEscaped) {
  EXPECT_EQ(text(ado::Variant::text("a\\b\tc\rd\ne")), "a\\\\b\\tc\\rd\\ne");
  EXPECT_EQ(text(ado::Variant::text("\xC3\xA9")), "\xC3\xA9");
}

TEST(ExportText, BytesAndGuids) {
  EXPECT_EQ(text(ado::Variant::bytes({0x00, 0xAB, 0x7F})), "00ab7f");
  EXPECT_EQ(text(ado::Variant::bytes({})), "");
  const ado::Guid g = {0x5B, 0xA8, 0xDF, 0x22, 0x27, 0xA6, 0x4C, 0x75,
                       0xB1, 0x8B, 0xD6, 0x6B, 0x32, 0xC9, 0xF9, 0xFC};
  EXPECT_EQ(text(ado::Variant::guid(g)), "{5BA8DF22-27A6-4C75-B18B-D66B32C9F9FC}");
}

}  // namespace
}  // namespace accessdb
