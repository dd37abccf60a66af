// The statements the engine executes, as the parser hands them over. Only
// the forms this program sends to Access are represented; everything else
// is a syntax error before it gets here.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "jet/convert/input_value.h"

namespace jet::sql {

// The column types a CREATE TABLE can ask for, by their stored type code.
enum class ColumnKind : std::uint8_t {
  Boolean = 0x01,
  Byte = 0x02,
  Integer = 0x03,
  Long = 0x04,
  Currency = 0x05,
  Single = 0x06,
  Double = 0x07,
  DateTime = 0x08,
  Binary = 0x09,
  Text = 0x0A,
  OleObject = 0x0B,
  Memo = 0x0C,
  Guid = 0x0F,
  Decimal = 0x10
};

struct ColumnType {
  ColumnKind kind = ColumnKind::Text;
  std::uint16_t size = 0;      // characters for Text, bytes for Binary, else 0
  std::uint8_t precision = 0;  // Decimal only
  std::uint8_t scale = 0;      // Decimal only
  bool autoNumber = false;     // COUNTER / AUTOINCREMENT (Long)
  friend bool operator==(const ColumnType&, const ColumnType&) = default;
};

struct ColumnDefinition {
  std::string name;  // UTF-8
  ColumnType type;
  friend bool operator==(const ColumnDefinition&, const ColumnDefinition&) = default;
};

// A value written in an INSERT: NULL, a quoted text ('' made one '), a
// bare number or 0x... bytes. The parser hands it over in the form the
// engine converts to column values.
using Literal = convert::InputValue;

struct SelectAll {
  std::string table;
};
struct SelectInto {
  std::string target;
  std::string source;
};
struct CreateTable {
  std::string table;
  std::vector<ColumnDefinition> columns;
};
struct InsertValues {
  std::string table;
  std::vector<Literal> values;
};
struct DropTable {
  std::string table;
};

using Statement = std::variant<SelectAll, SelectInto, CreateTable, InsertValues, DropTable>;

}  // namespace jet::sql
