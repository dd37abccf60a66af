#include "transfer/column_rules.h"

#include <algorithm>

namespace transfer {
namespace {

// Access's limits: Text holds 255 characters, Binary 510 bytes, a decimal
// 28 digits.
constexpr long long kMaxAccessText = 255;
constexpr long long kMaxAccessBinary = 510;
constexpr int kMaxAccessPrecision = 28;

bool contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// The source's precision and scale within Access's: a scale never above
// the precision, and an undeclared precision as wide as Access allows.
std::string decimalText(const SourceField& field) {
  const int precision =
      field.precision > 0 ? std::min(field.precision, kMaxAccessPrecision) : kMaxAccessPrecision;
  const int scale = std::clamp(field.numericScale, 0, precision);
  return " DECIMAL(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
}

TargetColumn columnOf(TargetType type, const SourceField& field) {
  switch (type) {
    case TargetType::kText: return {" TEXT", ValueForm::kQuoted};
    case TargetType::kNumeric: return {" NUMERIC", ValueForm::kNumber};
    case TargetType::kBit: return {" BIT", ValueForm::kBit};
    case TargetType::kVarcharOrMemo:
      if (contains(field.lowerTypeName, "longvar") || field.definedSize > kMaxAccessText)
        return {" MEMO", ValueForm::kQuoted};
      return {" VARCHAR", ValueForm::kQuoted};
    case TargetType::kMemo: return {" MEMO", ValueForm::kQuoted};
    case TargetType::kDecimal: return {decimalText(field), ValueForm::kQuoted};
    case TargetType::kReal: return {" REAL", ValueForm::kQuoted};
    case TargetType::kInt: return {" INT", ValueForm::kQuoted};
    case TargetType::kWideInteger: return {" DECIMAL(20,0)", ValueForm::kQuoted};
    case TargetType::kOleObject: return {" OLEOBJECT", ValueForm::kBytes};
    case TargetType::kBinaryOrOle:
      if (field.definedSize > 0 && field.definedSize <= kMaxAccessBinary)
        return {" BINARY(" + std::to_string(field.definedSize) + ")", ValueForm::kBytes};
      return {" OLEOBJECT", ValueForm::kBytes};
    case TargetType::kDateTime: return {" DATETIME", ValueForm::kQuoted};
    case TargetType::kFloat: return {" FLOAT", ValueForm::kQuoted};
  }
  return {" TEXT", ValueForm::kQuoted};
}

}  // namespace

TargetColumn ChooseTargetColumn(std::span<const ColumnRule> rules, const SourceField& field) {
  for (const ColumnRule& rule : rules)
    if (contains(field.lowerTypeName, rule.contains)) return columnOf(rule.type, field);
  return columnOf(rules.back().type, field);  // the tables end with their default
}

}  // namespace transfer
