#include "jet/convert/decimal_number.h"

#include <algorithm>
#include <cstddef>

namespace jet::convert {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Exponents beyond this make every target overflow or round to zero; the
// limit keeps the arithmetic below far from long's range.
constexpr long kExponentLimit = 100000;

}  // namespace

std::optional<DecimalNumber> parseDecimalNumber(std::string_view text) {
  text = trimBlanks(text);
  DecimalNumber n;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) n.negative = text[i++] == '-';
  // The digits before and after the point, as stretches of `text`: the
  // mantissa is built once, without its leading zeros.
  const std::size_t wholeStart = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  const std::string_view whole = text.substr(wholeStart, i - wholeStart);
  std::string_view fraction;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < text.size() && isDigit(text[i])) ++i;
    fraction = text.substr(fractionStart, i - fractionStart);
  }
  if (whole.empty() && fraction.empty()) return std::nullopt;
  long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    if (i == text.size() || !isDigit(text[i])) return std::nullopt;
    for (; i < text.size() && isDigit(text[i]); ++i)
      if (exponent < kExponentLimit) exponent = exponent * 10 + (text[i] - '0');
    if (negativeExponent) exponent = -exponent;
  }
  if (i != text.size()) return std::nullopt;

  const std::size_t wholeZeros = std::min(whole.find_first_not_of('0'), whole.size());
  const std::size_t fractionZeros =
      wholeZeros < whole.size() ? 0 : std::min(fraction.find_first_not_of('0'), fraction.size());
  if (wholeZeros == whole.size() && fractionZeros == fraction.size()) return DecimalNumber{n.negative, "", 0};
  n.digits.reserve(whole.size() - wholeZeros + fraction.size() - fractionZeros);
  n.digits.append(whole.substr(wholeZeros)).append(fraction.substr(fractionZeros));
  n.exponent = exponent - static_cast<long>(fraction.size());
  return n;
}

std::optional<unsigned __int128> scaledMagnitude(const DecimalNumber& number, int scale, int maxDigits) {
  if (number.digits.empty()) return 0;
  const long length = static_cast<long>(number.digits.size());
  const long shift = number.exponent + scale;  // power of ten to apply to the digits
  const long kept = length + shift;            // digits left of the (scaled) point
  if (kept > maxDigits) return std::nullopt;

  unsigned __int128 value = 0;
  for (long i = 0; i < std::min(kept, length); ++i) value = value * 10 + (number.digits[i] - '0');
  for (long i = length; i < kept; ++i) value *= 10;
  if (kept >= length) return value;

  // Round what was cut off: above half up, below half down, exactly half to even.
  bool roundUp = false;
  if (kept >= 0) {
    const char first = number.digits[kept];
    const bool restNonZero = number.digits.find_first_not_of('0', kept + 1) != std::string::npos;
    roundUp = first > '5' || (first == '5' && (restNonZero || (value % 2) == 1));
  }
  if (roundUp) {
    ++value;
    unsigned __int128 limit = 1;
    for (int i = 0; i < maxDigits; ++i) limit *= 10;
    if (value >= limit) return std::nullopt;
  }
  return value;
}

}  // namespace jet::convert
