// An error as the reports show it: a signed 32-bit number and a
// description, taken from whatever a failing statement raised.
#pragma once

#include <QString>
#include <cstdint>

namespace db {

struct ErrorInfo {
  std::int32_t number = 0;
  QString description;
};

// The error being handled. Call only from inside a catch block.
// ado::Error keeps its own number; other failures get the number of the
// Visual Basic run-time error that stands closest to them (6 overflow,
// 7 out of memory, 9 subscript out of range) or, failing that, the
// generic provider failure, so that every report has a number.
ErrorInfo CaughtError();

}  // namespace db
