#include "jet/convert/date_text.h"

#include <cstddef>

namespace jet::convert {
namespace {

class Cursor {
 public:
  explicit Cursor(std::string_view s) : s_(s) {}

  bool done() const { return pos_ == s_.size(); }
  bool accept(char c) {
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  // From minDigits to maxDigits decimal digits, as a number.
  std::optional<int> number(std::size_t minDigits, std::size_t maxDigits) {
    std::size_t n = 0;
    int value = 0;
    while (pos_ < s_.size() && n < maxDigits && s_[pos_] >= '0' && s_[pos_] <= '9') {
      value = value * 10 + (s_[pos_++] - '0');
      ++n;
    }
    if (n < minDigits) return std::nullopt;
    return value;
  }
  // A fraction's digits after the point, as a value in [0, 1).
  std::optional<double> fraction() {
    double value = 0;
    double unit = 0.1;
    std::size_t n = 0;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
      value += (s_[pos_++] - '0') * unit;
      unit /= 10;
      ++n;
    }
    if (n == 0) return std::nullopt;
    return value;
  }
  bool atTime() const {
    // "HH:" begins a time of day; a date begins with four digits and '-'.
    const std::size_t colon = s_.find(':', pos_);
    const std::size_t dash = s_.find('-', pos_);
    return colon != std::string_view::npos && (dash == std::string_view::npos || colon < dash);
  }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
};

bool isLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Seconds into the day, or nullopt.
std::optional<double> timeOfDay(Cursor& c) {
  const auto hour = c.number(1, 2);
  if (!hour || !c.accept(':')) return std::nullopt;
  const auto minute = c.number(2, 2);
  if (!minute) return std::nullopt;
  double seconds = 0;
  if (c.accept(':')) {
    const auto whole = c.number(2, 2);
    if (!whole) return std::nullopt;
    seconds = *whole;
    if (c.accept('.')) {
      const auto part = c.fraction();
      if (!part) return std::nullopt;
      seconds += *part;
    }
  }
  if (*hour > 23 || *minute > 59 || seconds >= 60) return std::nullopt;
  return *hour * 3600.0 + *minute * 60.0 + seconds;
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

long daysSinceEpoch(int year, int month, int day) {
  // Days from the civil date to 1970-01-01 (Howard Hinnant's algorithm),
  // then moved to Jet's epoch, which lies 25569 days earlier.
  const int y = year - (month <= 2 ? 1 : 0);
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 25569;
}

std::optional<double> parseDateText(std::string_view text) {
  Cursor c(trimBlanks(text));
  long days = 0;
  double seconds = 0;
  if (c.atTime()) {
    const auto t = timeOfDay(c);
    if (!t) return std::nullopt;
    seconds = *t;
  } else {
    const auto year = c.number(4, 4);
    if (!year || !c.accept('-')) return std::nullopt;
    const auto month = c.number(2, 2);
    if (!month || !c.accept('-')) return std::nullopt;
    const auto day = c.number(2, 2);
    if (!day || *year < 100 || *month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month))
      return std::nullopt;
    days = daysSinceEpoch(*year, *month, *day);
    if (!c.done()) {
      if (!c.accept(' ') && !c.accept('T')) return std::nullopt;
      const auto t = timeOfDay(c);
      if (!t) return std::nullopt;
      seconds = *t;
    }
  }
  if (!c.done()) return std::nullopt;
  const double fraction = seconds / 86400.0;
  return days >= 0 ? days + fraction : days - fraction;
}

}  // namespace jet::convert
