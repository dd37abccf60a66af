#include "ado/variant.h"

#include <charconv>
#include <cstdio>
#include <type_traits>

#include "ado/decimal_text.h"
#include "ado/ole_date.h"

// Text forms. They are what the program writes into SQL literals, so each
// is chosen to be read back as the same value by Access and by SQL
// Anywhere wherever the target column type can hold it.
//
//   Kind            Text form                          Examples
//   --------------  ---------------------------------  --------------------------------
//   Empty, Null     empty text                         ""
//   Boolean         True / False                       "True"
//   integers        decimal, '-' when negative         "-128", "18446744073709551615"
//   Single, Double  shortest text that reads back as   "0.1", "1e+20", "-2.5e-07"
//                   the same binary value (invariant,
//                   '.' as the point); "inf", "-inf",
//                   "nan" for the special values
//   Currency        exact, no trailing zeros           "12.5", "-0.0001", "3"
//   Decimal         exact, all digits of its scale     "12.50", "-0.005", "7"
//   Date            ISO 8601 date and time; a '.' and  "1999-12-31 23:59:59",
//                   up to six digits of fraction only  "1850-06-01 06:00:00",
//                   when the seconds have one          "2024-02-29 10:00:00.25"
//   Text            the UTF-8 text itself              "O'Neil"
//   Bytes           "0x" and two lower-case hex digits "0x00ff10", "0x" when empty
//                   per byte
//   GUID            registry form, upper-case          "{6B29FC40-CA47-1067-B31D-00DD010662DA}"

namespace ado {
namespace {

template <typename Number>
std::string shortestText(Number value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string dateText(Date date) {
  const DateParts p = toDateParts(date);
  char buffer[40];
  int length = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day,
                             p.hour, p.minute, p.second);
  if (p.microsecond != 0) {
    length += std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length), ".%06d",
                            p.microsecond);
    while (buffer[length - 1] == '0') --length;
  }
  return std::string(buffer, static_cast<std::size_t>(length));
}

constexpr char kLowerHex[] = "0123456789abcdef";
constexpr char kUpperHex[] = "0123456789ABCDEF";

std::string bytesText(const Bytes& bytes) {
  std::string text = "0x";
  text.reserve(2 + bytes.size() * 2);
  for (const std::uint8_t b : bytes) {
    text.push_back(kLowerHex[b >> 4]);
    text.push_back(kLowerHex[b & 0xF]);
  }
  return text;
}

std::string guidText(const Guid& guid) {
  std::string text = "{";
  for (std::size_t i = 0; i < guid.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
    text.push_back(kUpperHex[guid[i] >> 4]);
    text.push_back(kUpperHex[guid[i] & 0xF]);
  }
  text.push_back('}');
  return text;
}

}  // namespace

std::string Variant::textForm() const {
  return std::visit(
      [](const auto& v) -> std::string {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, Empty> || std::is_same_v<T, Null>) {
          return {};
        } else if constexpr (std::is_same_v<T, bool>) {
          return v ? "True" : "False";
        } else if constexpr (std::is_integral_v<T> || std::is_floating_point_v<T>) {
          return shortestText(v);
        } else if constexpr (std::is_same_v<T, Currency>) {
          return currencyText(v);
        } else if constexpr (std::is_same_v<T, Decimal>) {
          return decimalText(v);
        } else if constexpr (std::is_same_v<T, Date>) {
          return dateText(v);
        } else if constexpr (std::is_same_v<T, std::string>) {
          return v;
        } else if constexpr (std::is_same_v<T, Bytes>) {
          return bytesText(v);
        } else {
          static_assert(std::is_same_v<T, Guid>);
          return guidText(v);
        }
      },
      value_);
}

}  // namespace ado
