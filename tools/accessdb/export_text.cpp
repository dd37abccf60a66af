// Export text of each Variant kind.
#include "export_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "ado/decimal_text.h"
#include "ado/error.h"
#include "ado/ole_date.h"

namespace accessdb {
namespace {

template <typename Number>
void appendNumber(Number n, std::string& out) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
  out.append(buffer, result.ptr);
}

void appendEscaped(const std::string& text, std::string& out) {
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out.push_back(c);
    }
  }
}

void appendHex(const ado::Bytes& bytes, std::string& out) {
  static constexpr char kDigits[] = "0123456789abcdef";
  for (const std::uint8_t b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0xF]);
  }
}

void appendGuid(const ado::Guid& g, std::string& out) {
  char text[40];
  std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                g[0], g[1], g[2], g[3], g[4], g[5], g[6], g[7], g[8], g[9], g[10], g[11], g[12], g[13], g[14],
                g[15]);
  out += text;
}

// Drops zeros after the decimal point, and the point if nothing follows.
void appendTrimmedDecimal(std::string text, std::string& out) {
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  out += text;
}

void appendDate(ado::Date date, std::string& out) {
  constexpr double kMillisecondsPerDay = 86400000.0;
  if (!std::isfinite(date.days) || std::fabs(date.days) > 3e6) {
    appendNumber(date.days, out);  // not a calendar date: show the stored number
    return;
  }
  double whole = std::trunc(date.days);
  auto ms = static_cast<long long>(std::llround(std::fabs(date.days - whole) * kMillisecondsPerDay));
  if (ms >= static_cast<long long>(kMillisecondsPerDay)) {
    ms -= static_cast<long long>(kMillisecondsPerDay);
    whole += 1;
  }
  ado::DateParts day;
  try {
    day = ado::toDateParts(ado::Date{whole});
  } catch (const ado::Error&) {
    appendNumber(date.days, out);
    return;
  }
  char text[48];
  const long long seconds = ms / 1000;
  int n = std::snprintf(text, sizeof text, "%04d-%02d-%02d %02lld:%02lld:%02lld", day.year, day.month,
                        day.day, seconds / 3600, seconds / 60 % 60, seconds % 60);
  if (ms % 1000 != 0) {
    n += std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), ".%03lld", ms % 1000);
    while (text[n - 1] == '0') --n;
  }
  out.append(text, static_cast<std::size_t>(n));
}

}  // namespace

void appendExportText(const ado::Variant& v, std::string& out) {
  using Kind = ado::Variant::Kind;
  switch (v.kind()) {
    case Kind::Empty: return;
    case Kind::Null: out += "\\N"; return;
    case Kind::Boolean: out.push_back(v.as<bool>() ? '1' : '0'); return;
    case Kind::UInt8: appendNumber(static_cast<unsigned>(v.as<std::uint8_t>()), out); return;
    case Kind::Int8: appendNumber(static_cast<int>(v.as<std::int8_t>()), out); return;
    case Kind::Int16: appendNumber(v.as<std::int16_t>(), out); return;
    case Kind::Int32: appendNumber(v.as<std::int32_t>(), out); return;
    case Kind::Int64: appendNumber(v.as<std::int64_t>(), out); return;
    case Kind::UInt16: appendNumber(v.as<std::uint16_t>(), out); return;
    case Kind::UInt32: appendNumber(v.as<std::uint32_t>(), out); return;
    case Kind::UInt64: appendNumber(v.as<std::uint64_t>(), out); return;
    case Kind::Single: appendNumber(v.as<float>(), out); return;
    case Kind::Double: appendNumber(v.as<double>(), out); return;
    case Kind::Currency: out += ado::currencyText(v.as<ado::Currency>()); return;
    case Kind::Decimal: appendTrimmedDecimal(ado::decimalText(v.as<ado::Decimal>()), out); return;
    case Kind::Date: appendDate(v.as<ado::Date>(), out); return;
    case Kind::Text: appendEscaped(v.as<std::string>(), out); return;
    case Kind::Bytes: appendHex(v.as<ado::Bytes>(), out); return;
    case Kind::Guid: appendGuid(v.as<ado::Guid>(), out); return;
  }
}

}  // namespace accessdb
