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

namespace jetwrite_test {

// The engine's row values in the form the key builder takes.
inline jet::convert::Value keyValue(const jet::Value& v) {
  if (const auto* s = std::get_if<std::string>(&v)) {
    std::u16string u;
    for (std::size_t i = 0; i < s->size();) {
      char32_t c = static_cast<unsigned char>((*s)[i]);
      int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
      if (extra) c &= (0x3F >> extra);
      for (int k = 1; k <= extra; ++k) c = (c << 6) | ((*s)[i + k] & 0x3F);
      i += 1 + extra;
      if (c >= 0x10000) {
        u += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        u += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        u += static_cast<char16_t>(c);
      }
    }
    return u;
  }
  return std::visit(
      [](const auto& x) -> jet::convert::Value {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t> ||
                      std::is_same_v<T, double> || std::is_same_v<T, jet::DateTime> ||
                      std::is_same_v<T, std::monostate>)
          return x;
        else
          return std::monostate{};
      },
      v);
}

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
    for (const Value& v : row) values.push_back(keyValue(v));
    Entry e = indexEntry(index, t.def(), values, codes, 0);
    expected.emplace_back(e.begin(), e.end() - 4);
  }
  std::sort(keys.begin(), keys.end());
  std::sort(expected.begin(), expected.end());
  audit.keysMatchRows = keys == expected;
  return audit;
}

}  // namespace jetwrite_test
