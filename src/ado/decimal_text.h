// Exact decimal text for ado::Decimal and ado::Currency, both ways.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ado/variant.h"

namespace ado {

// All `scale` digits after the point are kept ("12.50" stays "12.50");
// zero is never signed.
std::string decimalText(const Decimal& value);

// Digits after the point are only as many as the value needs: "12.5",
// "-0.0001", "3".
std::string currencyText(Currency value);

// Reads [sign] digits [. digits] [e|E [sign] digits], the forms drivers
// give for exact numbers. Empty when the text is not such a number or
// needs more than 38 digits.
std::optional<Decimal> parseDecimal(std::string_view text);

}  // namespace ado
