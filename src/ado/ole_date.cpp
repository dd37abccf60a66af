#include "ado/ole_date.h"

#include <cmath>
#include <cstdint>

#include "ado/error.h"

namespace ado {
namespace {

constexpr std::int64_t kMicrosecondsPerDay = 86'400'000'000;
// Day numbers of 0001-01-01 and 9999-12-31 counted from 1899-12-30.
constexpr double kFirstDay = -693593;
constexpr double kLastDay = 2958465;

// Days from 1899-12-30 to the given civil date (H. Hinnant's algorithm,
// shifted from 1970-01-01 to the OLE epoch).
std::int64_t dayNumber(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468 + 25569;
}

void civilDate(std::int64_t days, DateParts& parts) {
  const std::int64_t z = days - 25569 + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  parts.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  parts.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  parts.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (parts.month <= 2));
}

}  // namespace

Date toOleDate(const DateParts& p) {
  const auto day =
      static_cast<double>(dayNumber(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)));
  const double seconds = p.hour * 3600.0 + p.minute * 60.0 + p.second + p.microsecond / 1e6;
  const double fraction = seconds / 86400.0;
  return Date{day < 0 ? day - fraction : day + fraction};
}

DateParts toDateParts(Date date) {
  if (!std::isfinite(date.days) || date.days < kFirstDay - 1 || date.days > kLastDay + 1)
    throw Error(errc::kDataOverflow, "The date value is out of range.");
  const double whole = std::trunc(date.days);
  auto day = static_cast<std::int64_t>(whole);
  // Round to the finest decimal step that the double still tells apart,
  // so that a time stored as whole seconds never reads back as xx:59.99998.
  const double magnitude = std::fabs(date.days);
  const double resolution =
      (std::nextafter(magnitude, HUGE_VAL) - magnitude) * static_cast<double>(kMicrosecondsPerDay);
  std::int64_t step = 1;
  while (step < 1'000'000 && static_cast<double>(step) <= resolution) step *= 10;
  const double exactMicros = std::fabs(date.days - whole) * static_cast<double>(kMicrosecondsPerDay);
  auto micros = std::llround(exactMicros / static_cast<double>(step)) * step;
  if (micros >= kMicrosecondsPerDay) {  // rounded up to the next midnight
    micros -= kMicrosecondsPerDay;
    ++day;
  }
  DateParts parts;
  civilDate(day, parts);
  if (parts.year < 1 || parts.year > 9999)
    throw Error(errc::kDataOverflow, "The date value is out of range.");
  parts.hour = static_cast<int>(micros / 3'600'000'000);
  parts.minute = static_cast<int>(micros / 60'000'000 % 60);
  parts.second = static_cast<int>(micros / 1'000'000 % 60);
  parts.microsecond = static_cast<int>(micros % 1'000'000);
  return parts;
}

}  // namespace ado
