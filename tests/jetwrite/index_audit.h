// Checks an index of a table against the table's rows: the leaves, walked
// from the leftmost one, must hold entries in order and exactly the keys
// the rows give.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/write/index_definitions.h"
#include "jet/write/index_page.h"
#include "jet/write/stored_rows.h"

namespace jetwrite_test {

struct IndexAudit {
  std::size_t entries = 0;
  bool ordered = true;
  bool keysMatchRows = false;
  std::size_t depth = 0;
};

inline IndexAudit auditIndex(const std::string& path, const std::string& table, std::size_t which) {
  using namespace jet;
  using namespace jet::write;
  auto db = Database::open(path, "");
  const Table t = db->table(table);
  const Format& f = db->header().format;
  const auto definition = readTableDefBytes(db->pager(), f, t.def().page);
  const RealIndex index = readRealIndexes(definition, t.def(), f).at(which);
  const collation::CodeTable* codes = textKeyCodes(db->header().sortOrder, db->header().sortOrderVersion);

  IndexAudit audit;
  std::uint32_t page = index.location.root;
  IndexPage p = decodeIndexPage(*db->pager().page(page), f);
  for (audit.depth = 1; !p.leaf; ++audit.depth) {
    page = p.entries.empty() ? p.tail : childOf(p.entries.front());
    p = decodeIndexPage(*db->pager().page(page), f);
  }
  std::vector<Entry> keys;
  Entry previous;
  while (true) {
    for (const Entry& e : p.entries) {
      if (!previous.empty() && e < previous) audit.ordered = false;
      previous = e;
      keys.emplace_back(e.begin(), e.end() - 4);
    }
    if (p.next == 0) break;
    p = decodeIndexPage(*db->pager().page(p.next), f);
  }
  audit.entries = keys.size();

  std::vector<Entry> expected;
  RowCursor cursor = t.rows();
  std::vector<Value> row;
  while (cursor.next(row)) {
    std::vector<convert::Value> values;
    for (const Value& v : row) values.push_back(toWritable(v));
    Entry e = indexEntry(index, t.def(), values, codes, 0);
    expected.emplace_back(e.begin(), e.end() - 4);
  }
  std::sort(keys.begin(), keys.end());
  std::sort(expected.begin(), expected.end());
  audit.keysMatchRows = keys == expected;
  return audit;
}

// Both MSysObjects indexes and the MSysACEs index in order and in step
// with their tables' rows.
inline bool catalogIndexesRight(const std::string& path) {
  for (const auto& [table, which] : {std::pair{"MSysObjects", 0}, {"MSysObjects", 1}, {"MSysACEs", 0}}) {
    const IndexAudit audit = auditIndex(path, table, static_cast<std::size_t>(which));
    if (!audit.ordered || !audit.keysMatchRows) return false;
  }
  return true;
}

}  // namespace jetwrite_test
