#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ado/error.h"
#include "ado/ole_date.h"
#include "ado/variant.h"

namespace {

using ado::Date;
using ado::DateParts;
using ado::Variant;

std::string dateText(const DateParts& parts) {
  return Variant::date(ado::toOleDate(parts)).textForm();
}

TEST(VariantTextTest, EmptyAndNullAreEmptyText) {
  EXPECT_EQ(Variant().textForm(), "");
  EXPECT_EQ(Variant::null().textForm(), "");
}

TEST(VariantTextTest, BooleansReadTrueAndFalse) {
  EXPECT_EQ(Variant::boolean(true).textForm(), "True");
  EXPECT_EQ(Variant::boolean(false).textForm(), "False");
}

TEST(VariantTextTest, IntegersAreDecimalAtEveryWidth) {
  EXPECT_EQ(Variant::int8(-128).textForm(), "-128");  // not a character
  EXPECT_EQ(Variant::uint8(255).textForm(), "255");
  EXPECT_EQ(Variant::int16(-32768).textForm(), "-32768");
  EXPECT_EQ(Variant::uint16(65535).textForm(), "65535");
  EXPECT_EQ(Variant::int32(std::numeric_limits<std::int32_t>::min()).textForm(), "-2147483648");
  EXPECT_EQ(Variant::uint32(4294967295u).textForm(), "4294967295");
  EXPECT_EQ(Variant::int64(std::numeric_limits<std::int64_t>::min()).textForm(), "-9223372036854775808");
  EXPECT_EQ(Variant::uint64(std::numeric_limits<std::uint64_t>::max()).textForm(), "18446744073709551615");
}

TEST(VariantTextTest, FloatingPointIsShortestRoundTripInvariantText) {
  EXPECT_EQ(Variant::real(0.1).textForm(), "0.1");
  EXPECT_EQ(Variant::real(-2.5e-7).textForm(), "-2.5e-07");
  EXPECT_EQ(Variant::real(1e20).textForm(), "1e+20");
  EXPECT_EQ(Variant::real(1234.5).textForm(), "1234.5");
  EXPECT_EQ(Variant::single(0.1f).textForm(), "0.1");
  EXPECT_EQ(Variant::single(3.4028235e38f).textForm(), "3.4028235e+38");
  EXPECT_EQ(Variant::real(-std::numeric_limits<double>::infinity()).textForm(), "-inf");
  for (const double d : {1.0 / 3, std::nextafter(1.0, 2.0), 6.02214076e23, -1e-300})
    EXPECT_EQ(std::stod(Variant::real(d).textForm()), d);
}

TEST(VariantTextTest, CurrencyAndDecimalAreExact) {
  EXPECT_EQ(Variant::currency({-1}).textForm(), "-0.0001");
  EXPECT_EQ(Variant::currency({125000}).textForm(), "12.5");
  EXPECT_EQ(Variant::decimal({true, 3, 12345}).textForm(), "-12.345");
  EXPECT_EQ(Variant::decimal({false, 2, 5}).textForm(), "0.05");
}

TEST(VariantTextTest, DatesAreIso8601DateAndTime) {
  EXPECT_EQ(Variant::date(Date{0}).textForm(), "1899-12-30 00:00:00");
  EXPECT_EQ(Variant::date(Date{1}).textForm(), "1899-12-31 00:00:00");
  EXPECT_EQ(Variant::date(Date{2.5}).textForm(), "1900-01-01 12:00:00");
  EXPECT_EQ(Variant::date(Date{60}).textForm(), "1900-02-28 00:00:00");  // OLE dates know no 1900-02-29
  EXPECT_EQ(Variant::date(Date{61}).textForm(), "1900-03-01 00:00:00");
  EXPECT_EQ(Variant::date(Date{45351.75}).textForm(), "2024-02-29 18:00:00");
}

TEST(VariantTextTest, DatesBefore1899CountTheTimeForward) {
  // -1.25 is 1899-12-29 at 06:00, not 18:00: the fraction's magnitude is the time of day.
  EXPECT_EQ(Variant::date(Date{-1.25}).textForm(), "1899-12-29 06:00:00");
  EXPECT_EQ(Variant::date(Date{-0.5}).textForm(), "1899-12-30 12:00:00");
  EXPECT_EQ(Variant::date(Date{-2}).textForm(), "1899-12-28 00:00:00");
  EXPECT_EQ(dateText({1850, 6, 1, 6, 0, 0, 0}), "1850-06-01 06:00:00");
  EXPECT_EQ(dateText({100, 1, 1, 0, 0, 0, 0}), "0100-01-01 00:00:00");
  EXPECT_EQ(ado::toOleDate({1899, 12, 29, 6, 0, 0, 0}).days, -1.25);
}

TEST(VariantTextTest, FractionalSecondsOnlyWhenPresent) {
  EXPECT_EQ(dateText({2024, 2, 29, 10, 0, 0, 250000}), "2024-02-29 10:00:00.25");
  EXPECT_EQ(dateText({2001, 9, 9, 1, 46, 40, 123456}), "2001-09-09 01:46:40.123456");
  EXPECT_EQ(dateText({1999, 12, 31, 23, 59, 59, 0}), "1999-12-31 23:59:59");
  EXPECT_EQ(dateText({1800, 1, 1, 0, 0, 1, 500000}), "1800-01-01 00:00:01.5");
}

TEST(VariantTextTest, ATimeJustBeforeMidnightRoundsIntoTheNextDay) {
  EXPECT_EQ(Variant::date(Date{2 - 1e-13}).textForm(), "1900-01-01 00:00:00");
  EXPECT_EQ(Variant::date(Date{-2 + 1e-13}).textForm(), "1899-12-30 00:00:00");
}

TEST(OleDateTest, CalendarPartsSurviveTheRoundTrip) {
  for (const DateParts p : {DateParts{1, 1, 1, 0, 0, 0, 0}, DateParts{1600, 2, 29, 12, 30, 15, 0},
                            DateParts{1899, 12, 29, 23, 59, 59, 0}, DateParts{1900, 3, 1, 0, 0, 0, 0},
                            DateParts{2000, 2, 29, 8, 5, 3, 0}, DateParts{2023, 6, 30, 7, 8, 9, 999999},
                            DateParts{9999, 12, 31, 23, 59, 59, 0}})
    EXPECT_EQ(ado::toDateParts(ado::toOleDate(p)), p) << dateText(p);
}

TEST(OleDateTest, ValuesOutsideTheCalendarRaise) {
  for (const double days : {std::nan(""), std::numeric_limits<double>::infinity(), 1e12, -700000.0}) {
    try {
      (void)Variant::date(Date{days}).textForm();
      ADD_FAILURE() << days;
    } catch (const ado::Error& e) {
      EXPECT_EQ(e.number(), ado::errc::kDataOverflow);
    }
  }
}

TEST(VariantTextTest, TextBytesAndGuids) {
  EXPECT_EQ(Variant::text("O'Neil — Zürich").textForm(), "O'Neil — Zürich");
  EXPECT_EQ(Variant::bytes({0x00, 0xff, 0x10}).textForm(), "0x00ff10");
  EXPECT_EQ(Variant::bytes({}).textForm(), "0x");
  EXPECT_EQ(Variant::guid({0x6B, 0x29, 0xFC, 0x40, 0xCA, 0x47, 0x10, 0x67, 0xB3, 0x1D, 0x00, 0xDD, 0x01, 0x06,
                           0x62, 0xDA})
                .textForm(),
            "{6B29FC40-CA47-1067-B31D-00DD010662DA}");
}

}  // namespace
