// Tables with indexes the tests choose, added to a scratch database the
// way the engine lays out the system tables' indexes (Jet's CREATE TABLE
// makes none), and the rows of an index in the order its leaves hold them.
#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "index_audit.h"
#include "jet/catalog/catalog_writer.h"
#include "jet/database/database.h"
#include "jet/journal/page_store.h"
#include "jet/row/stored_rows.h"
#include "jet/table/table_def_writer.h"

namespace jetwrite_test {

struct IndexedColumn {
  jet::NewColumn column;
  bool ascending = true;
  std::uint8_t flags = 0x80;  // the flag Jet sets on every index
  bool primaryKey = false;
};

// Adds table `name` with one single-column index per column.
inline void addIndexedTable(const std::string& path, const std::string& name,
                            const std::vector<IndexedColumn>& columns) {
  using namespace jet::write;
  const jet::Header header = jet::Database::open(path, "")->header();
  PageStore store(path, header.format.pageSize, jet::journal::SyncPolicy::Off);
  TableShape shape;
  for (std::uint16_t i = 0; i < columns.size(); ++i) {
    shape.columns.push_back(columns[i].column);
    shape.indexes.push_back({"ix" + columns[i].column.name, {i}, columns[i].flags, columns[i].primaryKey});
  }
  const std::uint32_t tdef = createTableDefinition(store, header, shape, 0);
  // The engine lays out ascending keys; a descending column's order byte is 0.
  const auto& definition = store.read(tdef);
  const auto db = jet::Database::open(store.snapshot(), path, "");
  const jet::TableDef def = db->tableAtPage(tdef, name).def();
  std::size_t at = header.format.tdefIndexCounts + def.realIndexes * header.format.realIndexCountSize +
                   header.format.columnSize * def.columns.size();
  for (std::size_t i = 0; i < def.columns.size(); ++i)
    at += header.format.nameLengthSize + jet::u16(definition, at);
  for (std::size_t i = 0; i < columns.size(); ++i, at += header.format.realIndexSize)
    if (!columns[i].ascending) store.edit(tdef)[at + 6] = 0;
  CatalogWriter(store, header, *db).addTable(name, tdef);
  store.commit();
}

// The first key column's value of each row the index names, in index order.
inline std::vector<jet::Value> valuesInIndexOrder(const std::string& path, const std::string& table,
                                                  std::size_t which) {
  using namespace jet::write;
  auto db = jet::Database::open(path, "");
  const jet::Table t = db->table(table);
  const RealIndex index = realIndex(*db, t, which);
  std::size_t column = 0;
  while (t.def().columns[column].number != index.columns.front().number) ++column;
  std::vector<jet::Value> out;
  std::vector<std::pair<std::uint32_t, jet::Value>> rows;
  forEachStoredRow(db->pager(), db->header(), t.def(),
                   [&](const StoredRow& r) { rows.emplace_back(r.slot, r.values[column]); });
  for (const Entry& e : auditIndex(*db, t, index).leafEntries) {
    const std::uint32_t pointer = (static_cast<std::uint32_t>(e[e.size() - 4]) << 24) |
                                  (e[e.size() - 3] << 16) | (e[e.size() - 2] << 8) | e[e.size() - 1];
    const auto row =
        std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.first == pointer; });
    if (row == rows.end()) throw std::runtime_error("an index entry names no row");
    out.push_back(row->second);
  }
  return out;
}

// Whether `a` comes before `b` in an ascending index: nulls first, Yes
// before No (Jet stores Yes as -1), GUIDs in their text order.
inline bool sortsBefore(const jet::Value& a, const jet::Value& b) {
  if (a.index() != b.index()) return a.index() < b.index();  // only a null mixes with values
  return std::visit(
      [&](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        const T& y = std::get<T>(b);
        if constexpr (std::is_same_v<T, std::monostate>) {
          return false;
        } else if constexpr (std::is_same_v<T, bool>) {
          return x && !y;
        } else if constexpr (std::is_same_v<T, jet::Currency>) {
          return x.scaled < y.scaled;
        } else if constexpr (std::is_same_v<T, jet::DateTime>) {
          return x.days < y.days;
        } else if constexpr (std::is_same_v<T, jet::Numeric>) {
          if (x.negative != y.negative) return x.negative;
          return x.negative ? y.magnitude < x.magnitude : x.magnitude < y.magnitude;
        } else if constexpr (std::is_same_v<T, jet::Guid>) {
          const auto textOrder = [](jet::Guid g) {
            std::reverse(g.begin(), g.begin() + 4);
            std::reverse(g.begin() + 4, g.begin() + 6);
            std::reverse(g.begin() + 6, g.begin() + 8);
            return g;
          };
          return textOrder(x) < textOrder(y);
        } else {
          return x < y;
        }
      },
      a);
}

inline bool inAscendingOrder(const std::vector<jet::Value>& values) {
  return std::is_sorted(values.begin(), values.end(), sortsBefore);
}
// Access keys an empty binary value as its flag byte alone, so a
// descending index puts it before every other binary value.
inline bool inDescendingOrder(const std::vector<jet::Value>& values) {
  const auto empty = [](const jet::Value& v) {
    const auto* bytes = std::get_if<jet::Bytes>(&v);
    return bytes != nullptr && bytes->empty();
  };
  const auto below = [&](const jet::Value& a, const jet::Value& b) {
    if (empty(a)) return false;
    return empty(b) || sortsBefore(a, b);
  };
  return std::is_sorted(values.rbegin(), values.rend(), below);
}

}  // namespace jetwrite_test
