#include "jet/write/table_layout.h"

#include "jet/error.h"

namespace jet::write {

std::map<std::uint16_t, LongValueMaps> readLongValueMaps(ByteView d, const TableDef& def,
                                                         const Format& f) {
  std::size_t at = f.tdefIndexCounts + def.realIndexes * f.realIndexCountSize +
                   f.columnSize * def.columns.size();
  auto skipNames = [&](std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) at += f.nameLengthSize + u16(d, at);
  };
  skipNames(def.columns.size());
  at += def.realIndexes * f.realIndexSize + def.logicalIndexes * f.logicalIndexSize;
  skipNames(def.logicalIndexes);
  std::map<std::uint16_t, LongValueMaps> maps;
  for (std::uint16_t column = u16(d, at); column != 0xFFFF; column = u16(d, at)) {
    maps[column] = {u32(d, at + 2), u32(d, at + 6)};
    at += 10;
  }
  return maps;
}

sql::ColumnDefinition writableColumn(const ColumnDef& c) {
  using sql::ColumnKind;
  sql::ColumnDefinition out{c.name, {}};
  auto& t = out.type;
  if (c.calculated())
    throw Error(errc::kFailure, "Field '" + c.name + "' is calculated and cannot be written.");
  switch (c.type()) {
    case ColumnType::Boolean: t.kind = ColumnKind::Boolean; break;
    case ColumnType::Byte: t.kind = ColumnKind::Byte; break;
    case ColumnType::Int16: t.kind = ColumnKind::Integer; break;
    case ColumnType::Int32:
      t.kind = ColumnKind::Long;
      t.autoNumber = (c.flags & column_flags::kAutoLong) != 0;
      break;
    case ColumnType::Currency: t.kind = ColumnKind::Currency; break;
    case ColumnType::Single: t.kind = ColumnKind::Single; break;
    case ColumnType::Double: t.kind = ColumnKind::Double; break;
    case ColumnType::DateTime: t.kind = ColumnKind::DateTime; break;
    case ColumnType::Binary: t.kind = ColumnKind::Binary; t.size = c.length; break;
    case ColumnType::Text: t.kind = ColumnKind::Text; t.size = static_cast<std::uint16_t>(c.length / 2); break;
    case ColumnType::Ole: t.kind = ColumnKind::OleObject; break;
    case ColumnType::Memo: t.kind = ColumnKind::Memo; break;
    case ColumnType::Guid: t.kind = ColumnKind::Guid; break;
    case ColumnType::Numeric:
      t.kind = ColumnKind::Decimal;
      t.precision = c.precision;
      t.scale = c.scale;
      break;
    default:
      throw Error(errc::kFailure, "Field '" + c.name + "' has a type this engine cannot write yet.");
  }
  return out;
}

}  // namespace jet::write
