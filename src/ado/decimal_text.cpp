#include "ado/decimal_text.h"

#include <algorithm>
#include <cstdint>

namespace ado {
namespace {

using U128 = unsigned __int128;
constexpr int kMaxDigits = 38;

std::string digitsOf(U128 magnitude) {
  std::string digits;
  do {
    digits.push_back(static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  std::ranges::reverse(digits);
  return digits;
}

U128 maxMagnitude() {
  U128 limit = 1;
  for (int i = 0; i < kMaxDigits; ++i) limit *= 10;
  return limit - 1;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string decimalText(const Decimal& value) {
  std::string digits = digitsOf(value.magnitude);
  const std::size_t scale = value.scale;
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  if (scale > 0) digits.insert(digits.size() - scale, 1, '.');
  if (value.negative && value.magnitude != 0) digits.insert(0, 1, '-');
  return digits;
}

std::string currencyText(Currency value) {
  const bool negative = value.scaled < 0;
  // Through unsigned arithmetic so that the most negative amount stays exact.
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value.scaled) : static_cast<std::uint64_t>(value.scaled);
  Decimal decimal{negative, 4, magnitude};
  while (decimal.scale > 0 && decimal.magnitude % 10 == 0) {
    decimal.magnitude /= 10;
    --decimal.scale;
  }
  return decimalText(decimal);
}

std::optional<Decimal> parseDecimal(std::string_view text) {
  Decimal result;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) result.negative = text[i++] == '-';

  const U128 limit = maxMagnitude();
  int digitCount = 0;
  int scale = 0;
  bool seenPoint = false;
  for (; i < text.size() && (isDigit(text[i]) || (text[i] == '.' && !seenPoint)); ++i) {
    if (text[i] == '.') {
      seenPoint = true;
      continue;
    }
    ++digitCount;
    if (result.magnitude > (limit - static_cast<unsigned>(text[i] - '0')) / 10) return std::nullopt;
    result.magnitude = result.magnitude * 10 + static_cast<unsigned>(text[i] - '0');
    if (seenPoint) ++scale;
  }
  if (digitCount == 0) return std::nullopt;

  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    int exponent = 0;
    const std::size_t exponentStart = i;
    for (; i < text.size() && isDigit(text[i]); ++i) {
      exponent = exponent * 10 + (text[i] - '0');
      if (exponent > 2 * kMaxDigits) return std::nullopt;
    }
    if (i == exponentStart) return std::nullopt;
    scale += negativeExponent ? exponent : -exponent;
  }
  if (i != text.size()) return std::nullopt;

  for (; scale < 0; ++scale) {
    if (result.magnitude > limit / 10) return std::nullopt;
    result.magnitude *= 10;
  }
  if (scale > kMaxDigits) return std::nullopt;
  result.scale = static_cast<std::uint8_t>(scale);
  return result;
}

}  // namespace ado
