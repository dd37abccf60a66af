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

// The entries of an index (row pointers included) leaf by leaf from the
// leftmost leaf; `depth` receives the number of levels.
inline std::vector<jet::write::Entry> leafEntriesInOrder(jet::Database& db, const jet::write::RealIndex& index,
                                                         std::size_t& depth) {
  using namespace jet::write;
  const jet::Format& f = db.header().format;
  IndexPage p = decodeIndexPage(*db.pager().page(index.location.root), f);
  for (depth = 1; !p.leaf; ++depth)
    p = decodeIndexPage(*db.pager().page(p.entries.empty() ? p.tail : childOf(p.entries.front())), f);
  std::vector<Entry> entries;
  while (true) {
    entries.insert(entries.end(), p.entries.begin(), p.entries.end());
    if (p.next == 0) return entries;
    p = decodeIndexPage(*db.pager().page(p.next), f);
  }
}

inline jet::write::RealIndex realIndex(jet::Database& db, const jet::Table& t, std::size_t which) {
  const auto definition = jet::readTableDefBytes(db.pager(), db.header().format, t.def().page);
  return jet::write::readRealIndexes(definition, t.def(), db.header().format).at(which);
}

inline IndexAudit auditIndex(const std::string& path, const std::string& table, std::size_t which) {
  using namespace jet;
  using namespace jet::write;
  auto db = Database::open(path, "");
  const Table t = db->table(table);
  const RealIndex index = realIndex(*db, t, which);
  const KeyForms forms = keyForms(db->header());

  IndexAudit audit;
  std::vector<Entry> keys;
  const std::vector<Entry> entries = leafEntriesInOrder(*db, index, audit.depth);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0 && entries[i] < entries[i - 1]) audit.ordered = false;
    keys.emplace_back(entries[i].begin(), entries[i].end() - 4);
  }
  audit.entries = keys.size();

  std::vector<Entry> expected;
  RowCursor cursor = t.rows();
  std::vector<Value> row;
  while (cursor.next(row)) {
    std::vector<convert::Value> values;
    for (const Value& v : row) values.push_back(toWritable(v));
    if (const auto e = indexEntry(index, t.def(), values, forms, 0)) expected.emplace_back(e->begin(), e->end() - 4);
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
