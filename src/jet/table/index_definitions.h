// The indexes of a table as its definition describes them: real
// (physical) indexes with their columns, flags and where their tree is,
// and the logical indexes that name them, among them the foreign keys of
// enforced relationships. Keeping the trees in step with the rows is the
// index layer's work (index/index_entries.h).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "jet/file/bytes.h"
#include "jet/file/format.h"
#include "jet/table/table_def_reader.h"

namespace jet::write {

struct IndexColumn {
  std::uint16_t number = 0;  // column number
  bool ascending = true;
};

inline constexpr std::uint8_t kIndexUnique = 0x01;
inline constexpr std::uint8_t kIndexIgnoresNulls = 0x02;
inline constexpr std::uint8_t kIndexRequired = 0x08;

struct IndexLocation {
  std::uint32_t tdefPage = 0;
  std::uint32_t root = 0;
  std::uint32_t usageMap = 0;  // row pointer of the map of the index's pages
};

struct RealIndex {
  std::vector<IndexColumn> columns;
  IndexLocation location;
  std::uint8_t flags = 0;
  bool primaryKey = false;  // a primary key's logical index uses it

  // Access lets several rows whose key columns are all null into a unique
  // index; a primary key and a required index take no null at all.
  bool unique() const { return primaryKey || (flags & kIndexUnique) != 0; }
  bool takesNoNull() const { return primaryKey || (flags & kIndexRequired) != 0; }
  bool ignoresNulls() const { return (flags & kIndexIgnoresNulls) != 0; }
};

// From the joined definition bytes.
std::vector<RealIndex> readRealIndexes(ByteView definition, const TableDef& def, const Format& format);

// An enforced relationship as the table on its many side records it: its
// index over the key columns, and the other table's index whose key each
// of its rows must name.
struct ForeignKey {
  std::uint32_t realIndex = 0;        // of this table
  std::uint32_t referencedTable = 0;  // the one side's definition page
  std::uint32_t referencedIndex = 0;  // the one side's logical index number
};
std::vector<ForeignKey> readForeignKeys(ByteView definition, const TableDef& def, const Format& format);

// The real index that the logical index numbered `logical` uses.
std::optional<std::uint32_t> realIndexOf(ByteView definition, const TableDef& def, const Format& format,
                                         std::uint32_t logical);

}  // namespace jet::write
