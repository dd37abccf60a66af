// A decoded column value. The engine keeps its own value type (it sits
// below the data access objects and knows nothing of their Variant); the
// alternatives follow the Access column types.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jet {

// Amount times 10,000.
struct Currency {
  std::int64_t scaled = 0;
  friend bool operator==(const Currency&, const Currency&) = default;
};

// Value = (-1)^negative * magnitude / 10^scale.
struct Numeric {
  bool negative = false;
  std::uint8_t precision = 0;
  std::uint8_t scale = 0;
  unsigned __int128 magnitude = 0;
  friend bool operator==(const Numeric&, const Numeric&) = default;
};

// Days since 1899-12-30; before that date the integer part is negative and
// the fraction still counts the time of day forward.
struct DateTime {
  double days = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// The 16 bytes as stored (first three groups little-endian).
using Guid = std::array<std::uint8_t, 16>;
using Bytes = std::vector<std::uint8_t>;

// monostate is NULL. Text (also Date/Time Extended, as text) is UTF-8;
// complex columns give their 32-bit key; types the engine does not know
// give their raw bytes.
using Value = std::variant<std::monostate, bool, std::uint8_t, std::int16_t, std::int32_t, std::int64_t,
                           float, double, Currency, Numeric, DateTime, std::string, Bytes, Guid>;

}  // namespace jet
