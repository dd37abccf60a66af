// Column type and value mapping for the Access providers.
#include "ado/access/field_mapping.h"

#include "ado/data_type.h"

namespace ado::access {
namespace {

// The text order of a GUID: the first three groups are stored little-endian.
Guid textOrder(const jet::Guid& stored) {
  Guid g;
  constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int i = 0; i < 16; ++i) g[static_cast<std::size_t>(i)] = stored[static_cast<std::size_t>(kOrder[i])];
  return g;
}

struct ToVariant {
  Variant operator()(std::monostate) const { return Variant::null(); }
  Variant operator()(bool v) const { return Variant::boolean(v); }
  Variant operator()(std::uint8_t v) const { return Variant::uint8(v); }
  Variant operator()(std::int16_t v) const { return Variant::int16(v); }
  Variant operator()(std::int32_t v) const { return Variant::int32(v); }
  Variant operator()(std::int64_t v) const { return Variant::int64(v); }
  Variant operator()(float v) const { return Variant::single(v); }
  Variant operator()(double v) const { return Variant::real(v); }
  Variant operator()(jet::Currency v) const { return Variant::currency(Currency{v.scaled}); }
  Variant operator()(const jet::Numeric& v) const {
    return Variant::decimal(Decimal{v.negative, v.scale, v.magnitude});
  }
  Variant operator()(jet::DateTime v) const { return Variant::date(Date{v.days}); }
  Variant operator()(std::string& v) const { return Variant::text(std::move(v)); }
  Variant operator()(jet::Bytes& v) const { return Variant::bytes(std::move(v)); }
  Variant operator()(const jet::Guid& v) const { return Variant::guid(textOrder(v)); }
};

}  // namespace

int adoTypeOf(const jet::ColumnDef& column) {
  using jet::ColumnType;
  if (!jet::isKnownColumnType(column.valueTypeCode())) return adVarBinary;
  switch (column.valueType()) {
    case ColumnType::Boolean: return adBoolean;
    case ColumnType::Byte: return adUnsignedTinyInt;
    case ColumnType::Int16: return adSmallInt;
    case ColumnType::Int32: return adInteger;
    case ColumnType::Currency: return adCurrency;
    case ColumnType::Single: return adSingle;
    case ColumnType::Double: return adDouble;
    case ColumnType::DateTime: return adDate;
    case ColumnType::Binary: return adVarBinary;
    case ColumnType::Text: return adVarWChar;
    case ColumnType::Ole: return adLongVarBinary;
    case ColumnType::Memo: return adLongVarWChar;
    case ColumnType::Guid: return adGUID;
    case ColumnType::Numeric: return adNumeric;
    case ColumnType::Complex: return adInteger;
    case ColumnType::BigInt: return adBigInt;
    case ColumnType::ExtDateTime: return adVarWChar;
  }
  return adVarBinary;
}

ColumnInfo describeColumn(const jet::ColumnDef& column, bool jet3) {
  // ADO's DefinedSize of a Memo and of an OLE Object column.
  constexpr long long kMemoSize = 536870910;
  constexpr long long kOleSize = 1073741823;
  ColumnInfo info{column.name, adoTypeOf(column)};
  if (!jet::isKnownColumnType(column.valueTypeCode())) return info;
  switch (column.valueType()) {
    case jet::ColumnType::Text: info.definedSize = jet3 ? column.length : column.length / 2; break;
    case jet::ColumnType::Binary: info.definedSize = column.length; break;
    case jet::ColumnType::Memo: info.definedSize = kMemoSize; break;
    case jet::ColumnType::Ole: info.definedSize = kOleSize; break;
    case jet::ColumnType::Numeric:
      info.precision = column.precision;
      info.numericScale = column.scale;
      break;
    default: break;
  }
  return info;
}

Variant toVariant(jet::Value&& value) {
  return std::visit(ToVariant{}, value);
}

}  // namespace ado::access
