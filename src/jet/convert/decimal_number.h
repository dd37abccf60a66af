// Exact decimal numbers in the invariant text form ("12", "-3.5", ".5",
// "1E+20"), and their rounding to a fixed number of decimals the way Jet
// rounds when it stores a number in an integer, Currency or Decimal column:
// half to even ("banker's rounding"), so 2.5 becomes 2 and 3.5 becomes 4.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jet::convert {

// Value = (negative ? -1 : 1) * digits * 10^exponent. `digits` has no
// leading zeros; it is empty for zero.
struct DecimalNumber {
  bool negative = false;
  std::string digits;
  long exponent = 0;
};

// Blanks around the number are allowed; nothing else is.
std::optional<DecimalNumber> parseDecimalNumber(std::string_view text);

// The magnitude rounded to `scale` decimals and multiplied by 10^scale, or
// nullopt when that needs more than `maxDigits` digits (maxDigits <= 38).
std::optional<unsigned __int128> scaledMagnitude(const DecimalNumber& number, int scale, int maxDigits);

}  // namespace jet::convert
