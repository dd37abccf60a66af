// Keeping a table's indexes in step with its rows: the entry a row has in
// an index, added and removed as rows come and go. Keys are built for
// every fixed-size type, Binary, NUMERIC and Text (General sort orders),
// ascending or descending (index_keys.h); an index over a Memo, OLE,
// Large Number or complex field makes the table one this engine will not
// change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "jet/convert/value.h"
#include "jet/file/format.h"
#include "jet/index/index_keys.h"
#include "jet/index/index_tree.h"
#include "jet/journal/page_store.h"
#include "jet/page/index_page.h"
#include "jet/table/index_definitions.h"
#include "jet/table/table_def_reader.h"

namespace jet::write {

// Why the engine cannot keep `index` of `def` up to date; nullopt when it can.
std::optional<std::string> unsupportedIndex(const RealIndex& index, const TableDef& def,
                                            const KeyForms& forms);

// The entry of the row at `rowPointer` whose values (in def.columns order)
// are `values`; nullopt when the index leaves the row out (all its key
// columns null in an index that ignores nulls).
std::optional<Entry> indexEntry(const RealIndex& index, const TableDef& def,
                                const std::vector<convert::Value>& values, const KeyForms& forms,
                                std::uint32_t rowPointer);

// Adds the row's entry, refusing a null where the index takes none and a
// second row with the same key in a unique index.
void addRowToIndex(PageStore& store, const Format& format, const RealIndex& index, const TableDef& def,
                   const std::vector<convert::Value>& values, const KeyForms& forms,
                   std::uint32_t rowPointer);

// Removes the row's entry; false when the index should hold it and does not.
bool removeRowFromIndex(PageStore& store, const Format& format, const RealIndex& index, const TableDef& def,
                        const std::vector<convert::Value>& values, const KeyForms& forms,
                        std::uint32_t rowPointer);

}  // namespace jet::write
