// A column value ready to be stored: one alternative per stored type. The
// writer lays these out as the file format wants; conversion from the text
// of a statement produces them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jet::convert {

struct Null {
  friend bool operator==(const Null&, const Null&) = default;
};
// Amount times 10,000.
struct Currency {
  std::int64_t scaled = 0;
  friend bool operator==(const Currency&, const Currency&) = default;
};
// (-1)^negative * magnitude / 10^scale, at most 28 digits.
struct Decimal {
  bool negative = false;
  std::uint8_t scale = 0;
  unsigned __int128 magnitude = 0;
  friend bool operator==(const Decimal&, const Decimal&) = default;
};
// Days since 1899-12-30; before that day the whole days count negative and
// the time of day is still added to their absolute value.
struct DateTime {
  double days = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};
// In the byte order the file stores: the first three groups little-endian.
struct Guid {
  std::array<std::uint8_t, 16> bytes{};
  friend bool operator==(const Guid&, const Guid&) = default;
};

using Value = std::variant<Null, bool, std::uint8_t, std::int16_t, std::int32_t, float, double,
                           Currency, Decimal, DateTime, std::u16string,
                           std::vector<std::uint8_t>, Guid>;

}  // namespace jet::convert
