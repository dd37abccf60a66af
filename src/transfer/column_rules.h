// The column type rules of the transfers: an ordered list of tests on the
// lower-cased ADO type name of a source field (Datatype's DataTypeName);
// the first rule whose text the name contains decides the target column
// type and how the column's values are written. A rule with an empty text
// holds for every name (the default).
#pragma once

#include <span>
#include <string>

namespace transfer {

// The target column types. The Access types that depend on the source
// column's declaration carry its size, precision or scale into the type.
enum class TargetType {
  // Data source side (SQL Anywhere dialect)
  kText,
  kNumeric,
  kBit,
  // Access side
  kVarcharOrMemo,  // VARCHAR, or MEMO for long text and sizes beyond 255
  kMemo,
  kDecimal,  // DECIMAL(p,s) with the source precision and scale
  kReal,
  kInt,
  kWideInteger,  // DECIMAL(20,0): 64-bit and unsigned 32-bit integers
  kOleObject,
  kBinaryOrOle,  // BINARY(n), or OLEOBJECT beyond 510 bytes
  kDateTime,
  kFloat,
};

// How the values of a column go into an INSERT.
enum class ValueForm {
  kQuoted,  // a text literal
  kNumber,  // bare, as a number
  kBit,     // a Yes/No value as '1' or '0'
  kBytes,   // 0x and hex digits
};

struct ColumnRule {
  const char* contains;
  TargetType type;
};

// What a source field declares, as ADO's Field gives it.
struct SourceField {
  std::string lowerTypeName;
  long long definedSize = 0;
  int precision = 0;
  int numericScale = 0;
};

struct TargetColumn {
  std::string typeText;  // " TEXT", " DECIMAL(28,6)", ...
  ValueForm form;
};

// Applies the first matching rule.
TargetColumn ChooseTargetColumn(std::span<const ColumnRule> rules, const SourceField& field);

}  // namespace transfer
