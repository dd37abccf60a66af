// Opens a database held in memory and reads every row of every local
// table, counting rows both ways. Used by the damaged-input tests and the
// fuzzer: whatever the bytes, this may only end normally or by jet::Error.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/database/database.h"

namespace jet::testing {

inline std::uint64_t readEverything(std::vector<std::uint8_t> bytes) {
  auto db = Database::open(memorySource(std::move(bytes)), "input.mdb", "");
  std::uint64_t rows = 0;
  std::vector<Value> row;
  for (const CatalogEntry& entry : db->catalog()) {
    if (entry.objectType() != ObjectType::Table) continue;
    try {
      Table table = db->tableAtPage(entry.tableDefPage(), entry.name);
      rows += table.countRows();
      RowCursor cursor = table.rows();
      while (cursor.next(row)) ++rows;
    } catch (const Error&) {
      // One damaged table must not hide the others.
    }
  }
  return rows;
}

}  // namespace jet::testing
