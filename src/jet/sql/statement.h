// The statements the engine executes, as the parser hands them over. Only
// the forms this program sends to Access are represented; everything else
// is a syntax error before it gets here.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "jet/convert/input_value.h"
#include "jet/table/table_def_format.h"

namespace jet::sql {

constexpr std::uint8_t codeOf(jet::ColumnType type) {
  return static_cast<std::uint8_t>(type);
}

// The column types a CREATE TABLE can ask for: a subset of the stored
// types, each carrying its stored type code, which the executor hands on.
enum class ColumnKind : std::uint8_t {
  Boolean = codeOf(jet::ColumnType::Boolean),
  Byte = codeOf(jet::ColumnType::Byte),
  Integer = codeOf(jet::ColumnType::Int16),
  Long = codeOf(jet::ColumnType::Int32),
  Currency = codeOf(jet::ColumnType::Currency),
  Single = codeOf(jet::ColumnType::Single),
  Double = codeOf(jet::ColumnType::Double),
  DateTime = codeOf(jet::ColumnType::DateTime),
  Binary = codeOf(jet::ColumnType::Binary),
  Text = codeOf(jet::ColumnType::Text),
  OleObject = codeOf(jet::ColumnType::Ole),
  Memo = codeOf(jet::ColumnType::Memo),
  Guid = codeOf(jet::ColumnType::Guid),
  Decimal = codeOf(jet::ColumnType::Numeric)
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
