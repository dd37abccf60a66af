// Date/Time texts to Jet's day numbers.
#include "jet/convert/date_text.h"

#include <gtest/gtest.h>

namespace jet::convert {
namespace {

TEST(DateText, EpochAndKnownDays) {
  EXPECT_EQ(daysSinceEpoch(1899, 12, 30), 0);
  EXPECT_EQ(daysSinceEpoch(1900, 1, 1), 2);
  EXPECT_EQ(daysSinceEpoch(1970, 1, 1), 25569);
  EXPECT_EQ(daysSinceEpoch(2000, 2, 29), 36585);
  EXPECT_EQ(daysSinceEpoch(100, 1, 1), -657434);
  EXPECT_EQ(daysSinceEpoch(9999, 12, 31), 2958465);
}

TEST(DateText, IsoDatesDateTimesAndTimes) {
  EXPECT_DOUBLE_EQ(*parseDateText("2024-03-01"), 45352.0);
  EXPECT_DOUBLE_EQ(*parseDateText("2024-03-01 12:00:00"), 45352.5);
  EXPECT_DOUBLE_EQ(*parseDateText("2024-03-01T06:00"), 45352.25);
  EXPECT_DOUBLE_EQ(*parseDateText("2024-03-01 00:00:00.500"), 45352.0 + 0.5 / 86400);
  EXPECT_DOUBLE_EQ(*parseDateText("2024-03-01 00:00:01.123456"), 45352.0 + 1.123456 / 86400);
  EXPECT_DOUBLE_EQ(*parseDateText("18:00"), 0.75);
  EXPECT_DOUBLE_EQ(*parseDateText("6:00:00"), 0.25);
}

TEST(DateText, DaysBeforeTheEpochKeepThePositiveTimeOfDay) {
  // 1899-12-29 06:00 is one day back, then a quarter day forward.
  EXPECT_DOUBLE_EQ(*parseDateText("1899-12-29 06:00:00"), -1.25);
  EXPECT_DOUBLE_EQ(*parseDateText("1582-10-15"), static_cast<double>(daysSinceEpoch(1582, 10, 15)));
}

TEST(DateText, RejectsImpossibleAndForeignForms) {
  for (const char* bad :
       {"2023-02-29", "2024-13-01", "2024-00-10", "2024-04-31", "0099-12-31", "24:00", "12:60", "12:00:60",
        "2024-3-1", "01/02/2024", "2024-03-01X10:00", "2024-03-01 10:00 PM", "", "abc", "2024-03-01 10"})
    EXPECT_FALSE(parseDateText(bad)) << bad;
}

}  // namespace
}  // namespace jet::convert
