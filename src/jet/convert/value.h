// A column value ready to be stored. It takes the engine's value types
// (jet/value.h) except for text, which stays UTF-16 as Access stores,
// measures and indexes it; std::monostate is NULL.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "jet/row/value.h"

namespace jet::convert {

using Value = std::variant<std::monostate, bool, std::uint8_t, std::int16_t, std::int32_t, float, double,
                           Currency, Numeric, DateTime, std::u16string, std::vector<std::uint8_t>, Guid>;

}  // namespace jet::convert
