#include "value_projection.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "ado/data_type.h"

namespace oracle {
namespace {

struct DateFields {
  int year, month, day, hour, minute, second;
};

bool parseDate(std::string_view text, DateFields& d, std::string_view& fraction) {
  if (text.size() < 19) return false;
  const auto field = [&](std::size_t at, std::size_t width, int& out) {
    const char* begin = text.data() + at;
    const auto [end, error] = std::from_chars(begin, begin + width, out);
    return error == std::errc() && end == begin + width;
  };
  if (!field(0, 4, d.year) || !field(5, 2, d.month) || !field(8, 2, d.day) || !field(11, 2, d.hour) ||
      !field(14, 2, d.minute) || !field(17, 2, d.second)) {
    return false;
  }
  fraction = text.substr(19);
  if (fraction.empty()) return true;
  return fraction.size() > 1 && fraction[0] == '.' &&
         fraction.substr(1).find_first_not_of("0123456789") == std::string_view::npos;
}

std::string formatDate(const DateFields& d, std::string fraction) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                d.minute, d.second);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  return fraction.empty() ? buffer : std::string(buffer) + "." + fraction;
}

DateFields nextSecond(const DateFields& d) {
  using namespace std::chrono;
  const sys_days day{year{d.year} / d.month / d.day};
  const sys_seconds instant = day + hours{d.hour} + minutes{d.minute} + seconds{d.second + 1};
  const sys_days newDay = floor<days>(instant);
  const year_month_day ymd{newDay};
  const hh_mm_ss time{instant - newDay};
  return {int(ymd.year()),           int(unsigned(ymd.month())),  int(unsigned(ymd.day())),
          int(time.hours().count()), int(time.minutes().count()), int(time.seconds().count())};
}

template <typename Number>
std::string printed(const char* format, Number value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

}  // namespace

const char* oracleName(Oracle oracle) {
  return oracle == Oracle::MdbTools ? "mdbtools" : "mdb-reader";
}

std::string roundDateText(std::string_view text, int digits) {
  DateFields date{};
  std::string_view fractionText;
  if (!parseDate(text, date, fractionText)) return std::string(text);
  std::string fraction(fractionText.empty() ? "" : fractionText.substr(1));
  if (fraction.size() <= static_cast<std::size_t>(digits)) return formatDate(date, fraction);
  const bool roundUp = fraction[static_cast<std::size_t>(digits)] >= '5';
  fraction.resize(static_cast<std::size_t>(digits));
  if (roundUp) {
    // Add one unit in the last kept digit, right to left.
    std::size_t i = fraction.size();
    while (i > 0 && fraction[i - 1] == '9') fraction[--i] = '0';
    if (i > 0) {
      ++fraction[i - 1];
    } else {
      date = nextSecond(date);
    }
  }
  return formatDate(date, fraction);
}

std::string projectForOracle(Oracle oracle, int adoType, const std::string& value) {
  if (value == "\\N") return value;
  if (oracle == Oracle::MdbTools) {
    switch (adoType) {
      case ado::adSingle: return printed("%.8g", static_cast<double>(std::strtof(value.c_str(), nullptr)));
      case ado::adDouble: return printed("%.16g", std::strtod(value.c_str(), nullptr));
      case ado::adDate: return roundDateText(value, 0);
      default: return value;
    }
  }
  return adoType == ado::adDate ? roundDateText(value, 3) : value;
}

}  // namespace oracle
