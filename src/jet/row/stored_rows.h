// Reading a table's rows together with where they are stored, which the
// reader's cursor does not tell: the writer needs the place to delete a
// row and to find its index entries. Also the bridge from stored values
// back to values of the writer's kinds.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "jet/convert/value.h"
#include "jet/file/header.h"
#include "jet/file/pager.h"
#include "jet/journal/page_store.h"
#include "jet/row/value.h"
#include "jet/table/table_def_reader.h"

namespace jet::write {

struct StoredRow {
  std::uint32_t slot = 0;     // the row pointer its slot has
  std::uint32_t data = 0;     // where its bytes are (another row after an overflow)
  std::vector<Value> values;  // in def.columns order
};

// Calls `visit` for every live row of the table, in storage order: as the
// statement under way sees it, or as `pager` reads the file.
void forEachStoredRow(const PageStore& store, const Header& header, const TableDef& def,
                      const std::function<void(const StoredRow&)>& visit);
void forEachStoredRow(Pager& pager, const Header& header, const TableDef& def,
                      const std::function<void(const StoredRow&)>& visit);

// A stored value as the writer's value: text back to UTF-16.
convert::Value toWritable(const Value& value);

}  // namespace jet::write
