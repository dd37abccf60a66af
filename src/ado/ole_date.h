// Conversions between ado::Date (the OLE automation date) and calendar
// parts, shared by the providers that read dates and by the text form.
#pragma once

#include "ado/variant.h"

namespace ado {

struct DateParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int microsecond = 0;
  friend bool operator==(const DateParts&, const DateParts&) = default;
};

// Proleptic Gregorian calendar; days before 1899-12-30 get a negative
// integer part with the time of day added as the fraction's magnitude.
Date toOleDate(const DateParts& parts);

// Rounds to the microsecond where the double holds one (dates up to
// 2079), else to the finest decimal step it can tell apart. Raises ado::Error (kDataOverflow) for values
// that are not finite or lie outside the years 1 to 9999.
DateParts toDateParts(Date date);

}  // namespace ado
