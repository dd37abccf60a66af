// The real (physical) indexes of a table as its definition describes
// them, and keeping them in step with the rows. Keys are built for every
// fixed-size type, Binary, NUMERIC and Text (General sort orders),
// ascending or descending (index_keys.h); an index over a Memo, OLE,
// Large Number or complex field makes the table one this engine will not
// change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/bytes.h"
#include "jet/convert/value.h"
#include "jet/format.h"
#include "jet/table_def.h"
#include "jet/write/index_keys.h"
#include "jet/write/index_page.h"
#include "jet/write/index_tree.h"
#include "jet/write/page_store.h"

namespace jet::write {

struct IndexColumn {
  std::uint16_t number = 0;  // column number
  bool ascending = true;
};

inline constexpr std::uint8_t kIndexUnique = 0x01;
inline constexpr std::uint8_t kIndexIgnoresNulls = 0x02;
inline constexpr std::uint8_t kIndexRequired = 0x08;

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

// Why the engine cannot keep `index` of `def` up to date; nullopt when it can.
std::optional<std::string> unsupportedIndex(const RealIndex& index, const TableDef& def, const KeyForms& forms);

// The entry of the row at `rowPointer` whose values (in def.columns order)
// are `values`; nullopt when the index leaves the row out (all its key
// columns null in an index that ignores nulls).
std::optional<Entry> indexEntry(const RealIndex& index, const TableDef& def,
                                const std::vector<convert::Value>& values, const KeyForms& forms,
                                std::uint32_t rowPointer);

// Adds the row's entry, refusing a null where the index takes none and a
// second row with the same key in a unique index.
void addRowToIndex(PageStore& store, const Format& format, const RealIndex& index, const TableDef& def,
                   const std::vector<convert::Value>& values, const KeyForms& forms, std::uint32_t rowPointer);

// Removes the row's entry; false when the index should hold it and does not.
bool removeRowFromIndex(PageStore& store, const Format& format, const RealIndex& index, const TableDef& def,
                        const std::vector<convert::Value>& values, const KeyForms& forms,
                        std::uint32_t rowPointer);

}  // namespace jet::write
