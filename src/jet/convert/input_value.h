// A value as a statement writes it, before it meets its column: NULL, a
// text (quotes already removed), a number as written, sign included, or
// bytes written 0x... (the hex digits, two per byte), which only Binary
// and OLE Object columns take. column_value.h converts it to the column's
// type as Jet does.
#pragma once

#include <string>

namespace jet::convert {

struct InputValue {
  enum class Kind { Null, Text, Number, Bytes };
  Kind kind = Kind::Null;
  std::string text;
  friend bool operator==(const InputValue&, const InputValue&) = default;
};

}  // namespace jet::convert
