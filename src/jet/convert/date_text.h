// Date/Time texts as the program writes them into INSERT statements: ISO
// 8601 dates ("2024-03-01"), date-times with a blank or a 'T' between date
// and time ("2024-03-01 13:45:10", "2024-03-01T13:45:10.250") and times of
// day ("13:45", "13:45:10"), which fall on 1899-12-30 as in Jet. Seconds
// may carry a fraction of any length.
#pragma once

#include <optional>
#include <string_view>

namespace jet::convert {

// Days since 1899-12-30 in the stored form (see DateTime), or nullopt when
// the text is no such date or names a day that does not exist or lies
// outside the years 100 to 9999 that Jet accepts.
std::optional<double> parseDateText(std::string_view text);

// Days from 1899-12-30 to the given day of the proleptic Gregorian calendar.
long daysSinceEpoch(int year, int month, int day);

}  // namespace jet::convert
