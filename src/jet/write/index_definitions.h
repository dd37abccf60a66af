// The real (physical) indexes of a table as its definition describes
// them, and the index entries of a row. Keys are built for the column
// types whose key form this engine knows: Integer, Long, Date/Time, Double
// and Text (General sort orders) ascending; an index over anything
// else makes the table one this engine will not change.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "jet/bytes.h"
#include "jet/collation/code_table.h"
#include "jet/convert/value.h"
#include "jet/format.h"
#include "jet/table_def.h"
#include "jet/write/index_page.h"
#include "jet/write/index_tree.h"

namespace jet::write {

struct IndexColumn {
  std::uint16_t number = 0;  // column number
  bool ascending = true;
};

struct RealIndex {
  std::vector<IndexColumn> columns;
  IndexLocation location;
  bool unique = false;
};

inline constexpr std::uint8_t kIndexUnique = 0x01;

// From the joined definition bytes.
std::vector<RealIndex> readRealIndexes(ByteView definition, const TableDef& def, const Format& format);

// Why the engine cannot keep `index` of `def` up to date; nullopt when it can.
// `codes` is null when the database's sort order is one it cannot key.
std::optional<std::string> unsupportedIndex(const RealIndex& index, const TableDef& def,
                                            const collation::CodeTable* codes);

// The text-key codes of the database's sort order; null for sort orders
// other than the General ones.
const collation::CodeTable* textKeyCodes(std::uint16_t sortOrder, std::uint8_t sortOrderVersion);

// The entry of the row at `rowPointer` whose values (in def.columns order)
// are `values`.
Entry indexEntry(const RealIndex& index, const TableDef& def, const std::vector<convert::Value>& values,
                 const collation::CodeTable* codes, std::uint32_t rowPointer);

}  // namespace jet::write
