#include "jet/table/table_layout.h"

#include "jet/error.h"

namespace jet::write {

std::map<std::uint16_t, LongValueMaps> readLongValueMaps(ByteView d, const TableDef& def, const Format& f) {
  std::size_t at =
      f.tdefIndexCounts + def.realIndexes * f.realIndexCountSize + f.columnSize * def.columns.size();
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

NewColumn writableColumn(const ColumnDef& c) {
  NewColumn out{c.name, c.type()};
  if (c.calculated())
    throw Error(errc::kFailure, "Field '" + c.name + "' is calculated and cannot be written.");
  switch (c.type()) {
    case ColumnType::Boolean:
    case ColumnType::Byte:
    case ColumnType::Int16:
    case ColumnType::Currency:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::DateTime:
    case ColumnType::Ole:
    case ColumnType::Memo:
    case ColumnType::Guid: break;
    case ColumnType::Int32: out.autoNumber = (c.flags & column_flags::kAutoLong) != 0; break;
    case ColumnType::Binary: out.size = c.length; break;
    case ColumnType::Text: out.size = static_cast<std::uint16_t>(c.length / 2); break;
    case ColumnType::Numeric:
      out.precision = c.precision;
      out.scale = c.scale;
      break;
    default: throw Error(errc::kFailure, "Field '" + c.name + "' has a type this engine cannot write yet.");
  }
  return out;
}

}  // namespace jet::write
