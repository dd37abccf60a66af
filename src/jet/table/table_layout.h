// What the writer needs to know of an existing table beyond what the
// reader's TableDef holds: the usage maps of its long-value columns (the
// list after the index definitions at the end of the definition) and the
// type each column takes values of.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "jet/file/bytes.h"
#include "jet/file/format.h"
#include "jet/table/new_column.h"
#include "jet/table/table_def_reader.h"

namespace jet::write {

struct LongValueMaps {
  std::uint32_t owned = 0;  // row pointer of the map of the column's LVAL pages
  std::uint32_t free = 0;   // row pointer of the map of those with room
};

// Long-value column number -> its maps, from the joined definition bytes.
std::map<std::uint16_t, LongValueMaps> readLongValueMaps(ByteView definition, const TableDef& def,
                                                         const Format& format);

// The column as a statement's value converts to it; throws for types the
// engine cannot write (complex, calculated, Large Number, Date/Time Extended).
NewColumn writableColumn(const ColumnDef& column);

}  // namespace jet::write
