// What an independent reader can show of a value. mdbtools prints a
// Single with 8 and a Double with 16 significant digits and dates to the
// whole second; mdb-reader keeps dates to the millisecond. Before a value
// of the engine is compared with one of these readers it is cut down to
// the same precision; nothing else about it is changed.
#pragma once

#include <string>
#include <string_view>

namespace oracle {

enum class Oracle { MdbTools, MdbReader };

const char* oracleName(Oracle oracle);

// `value` is a field as `accessdb export` writes it, `adoType` its type.
std::string projectForOracle(Oracle oracle, int adoType, const std::string& value);

// Rounds "YYYY-MM-DD HH:MM:SS[.fraction]" to `digits` fraction digits,
// halves up, carrying into the seconds, minutes, ... and the date;
// trailing zeros of the fraction (and a bare point) are dropped. Text of
// another shape comes back unchanged.
std::string roundDateText(std::string_view text, int digits);

}  // namespace oracle
