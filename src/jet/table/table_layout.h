// What the writer needs to know of an existing table beyond what the
// reader's TableDef holds: the usage maps of its long-value columns (the
// list after the index definitions at the end of the definition) and the
// type each column takes values of.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "jet/bytes.h"
#include "jet/format.h"
#include "jet/sql/statement.h"
#include "jet/table_def.h"

namespace jet::write {

// TDEF fields the writer updates, as offsets into the first TDEF page.
inline constexpr std::size_t kTdefRowCount = 16;
inline constexpr std::size_t kTdefNextAutoNumber = 20;  // the last number handed out

struct LongValueMaps {
  std::uint32_t owned = 0;  // row pointer of the map of the column's LVAL pages
  std::uint32_t free = 0;   // row pointer of the map of those with room
};

// Long-value column number -> its maps, from the joined definition bytes.
std::map<std::uint16_t, LongValueMaps> readLongValueMaps(ByteView definition, const TableDef& def,
                                                         const Format& format);

// The column as a statement's value converts to it; throws for types the
// engine cannot write (complex, calculated, Large Number, Date/Time Extended).
sql::ColumnDefinition writableColumn(const ColumnDef& column);

}  // namespace jet::write
