// A column as the engine creates it and converts values for it: its
// storage type and what that type needs besides (a size, a precision and
// scale, AutoNumber). The SQL layer translates the column types of a
// CREATE TABLE into these; a SELECT INTO takes them from the source table.
#pragma once

#include <cstdint>
#include <string>

#include "jet/table/table_def_format.h"

namespace jet {

struct NewColumn {
  std::string name;  // UTF-8
  ColumnType type = ColumnType::Text;
  std::uint16_t size = 0;      // characters for Text, bytes for Binary, else 0
  std::uint8_t precision = 0;  // Numeric only
  std::uint8_t scale = 0;      // Numeric only
  bool autoNumber = false;     // Int32 numbered by the engine
  friend bool operator==(const NewColumn&, const NewColumn&) = default;
};

}  // namespace jet
