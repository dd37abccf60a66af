// Checks an index of a table against every invariant of its tree and
// against the table's rows, as a strict reader does when it opens a table:
//  - every page under the root is an index page of the table, reached once,
//    and every leaf lies at the same depth; only the root may be empty;
//  - entries are strictly ascending within each page and across the leaves;
//  - each node entry equals the last entry of its child; a node names its
//    rightmost child as its tail (which has no entry) only when it has
//    more than one child;
//  - the leaves are chained by prev/next in their order, the first without
//    prev and the last without next; a node page links only to its
//    neighbours in its level, and they link back;
//  - every row the index covers has exactly one entry, and that entry's
//    bytes are the key built from the row's values and its row pointer.
#pragma once

#include <algorithm>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "jet/database/database.h"
#include "jet/error.h"
#include "jet/index/index_entries.h"
#include "jet/page/index_page.h"
#include "jet/row/stored_rows.h"

namespace jetwrite_test {

struct IndexAudit {
  std::size_t entries = 0;
  std::size_t depth = 0;
  std::vector<jet::write::Entry> leafEntries;  // leaf by leaf, as the tree orders them
  std::vector<std::string> faults;

  bool sound() const { return faults.empty(); }
  std::string report() const {
    std::string out;
    for (const std::string& f : faults) out += f + "\n";
    return out;
  }
};

namespace audit_detail {

inline std::string hex(const jet::write::Entry& e) {
  std::ostringstream out;
  out << std::hex;
  for (const std::uint8_t b : e) out << (b < 16 ? "0" : "") << static_cast<unsigned>(b);
  return out.str();
}

struct LevelPage {
  std::uint32_t number;
  jet::write::IndexPage content;
};

class TreeWalk {
 public:
  TreeWalk(jet::Pager& pager, const jet::Format& format, std::uint32_t tdef, IndexAudit& audit)
      : pager_(pager), format_(format), tdef_(tdef), audit_(audit) {}

  void walk(std::uint32_t root) {
    visit(root, 0);
    for (std::size_t level = 0; level < levels_.size(); ++level)
      checkLinks(level, level + 1 == levels_.size());
    const auto& leaves = audit_.leafEntries;
    for (std::size_t i = 1; i < leaves.size(); ++i)
      if (!(leaves[i - 1] < leaves[i]))
        fault("leaf entries out of order across pages at " + std::to_string(i) + ": " + hex(leaves[i - 1]) +
              " then " + hex(leaves[i]));
    audit_.entries = leaves.size();
  }

 private:
  void fault(const std::string& what) { audit_.faults.push_back(what); }

  // The last entry (child pointer removed) of the subtree under `page`.
  std::optional<jet::write::Entry> visit(std::uint32_t page, std::size_t level) {
    using namespace jet::write;
    const std::string name = "page " + std::to_string(page);
    if (level > 32) return fault("the tree is deeper than 32 levels"), std::nullopt;
    if (!seen_.insert(page).second) return fault(name + " is reached twice"), std::nullopt;
    IndexPage p;
    try {
      p = decodeIndexPage(*pager_.page(page), format_);
    } catch (const jet::Error& e) {
      return fault(name + ": " + e.description()), std::nullopt;
    }
    if (p.tdefPage != tdef_) fault(name + " names table page " + std::to_string(p.tdefPage));
    if (levels_.size() <= level) levels_.resize(level + 1);
    levels_[level].push_back({page, p});
    for (std::size_t i = 1; i < p.entries.size(); ++i)
      if (!(p.entries[i - 1] < p.entries[i])) fault(name + ": entries out of order at " + std::to_string(i));
    if (p.leaf) {
      if (p.tail != 0) fault(name + ": a leaf with a tail");
      if (p.entries.empty() && level > 0) fault(name + ": an empty leaf below the root");
      if (audit_.depth == 0) audit_.depth = level + 1;
      if (audit_.depth != level + 1) fault(name + ": a leaf at depth " + std::to_string(level + 1));
      audit_.leafEntries.insert(audit_.leafEntries.end(), p.entries.begin(), p.entries.end());
      if (p.entries.empty()) return std::nullopt;
      return p.entries.back();
    }
    if (p.entries.empty()) {
      fault(name + (p.tail == 0 ? ": a node without children" : ": a node whose only child is its tail"));
      if (p.tail == 0) return std::nullopt;
    }
    for (const Entry& e : p.entries) {
      const std::uint32_t child = childOf(e);
      const auto last = visit(child, level + 1);
      if (!last || *last != withoutChild(e))
        fault(name + ": entry for child " + std::to_string(child) + " is " + hex(withoutChild(e)) +
              ", the child's last entry " + (last ? hex(*last) : "missing"));
    }
    if (p.tail != 0) return visit(p.tail, level + 1);
    return withoutChild(p.entries.back());
  }

  void checkLinks(std::size_t level, bool leaves) {
    const auto& pages = levels_[level];
    for (std::size_t i = 0; i < pages.size(); ++i) {
      const auto& p = pages[i].content;
      const std::uint32_t before = i > 0 ? pages[i - 1].number : 0;
      const std::uint32_t after = i + 1 < pages.size() ? pages[i + 1].number : 0;
      const std::string name = "page " + std::to_string(pages[i].number);
      if (leaves) {
        if (p.prev != before)
          fault(name + ": prev " + std::to_string(p.prev) + ", expected " + std::to_string(before));
        if (p.next != after)
          fault(name + ": next " + std::to_string(p.next) + ", expected " + std::to_string(after));
        continue;
      }
      if (p.next != 0 && (p.next != after || pages[i + 1].content.prev != pages[i].number))
        fault(name + ": node next " + std::to_string(p.next) + " is not its neighbour linking back");
      if (p.prev != 0 && (p.prev != before || pages[i - 1].content.next != pages[i].number))
        fault(name + ": node prev " + std::to_string(p.prev) + " is not its neighbour linking back");
    }
  }

  jet::Pager& pager_;
  const jet::Format& format_;
  std::uint32_t tdef_;
  IndexAudit& audit_;
  std::set<std::uint32_t> seen_;
  std::vector<std::vector<LevelPage>> levels_;
};

// Entries in `a` that `b` lacks (both sorted), at most a few.
inline std::string missingFrom(const std::vector<jet::write::Entry>& a,
                               const std::vector<jet::write::Entry>& b) {
  std::vector<jet::write::Entry> d;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(d));
  std::string out;
  for (std::size_t i = 0; i < d.size() && i < 3; ++i) out += " " + hex(d[i]);
  return d.empty() ? "" : std::to_string(d.size()) + ":" + out;
}

}  // namespace audit_detail

inline jet::write::RealIndex realIndex(jet::Database& db, const jet::Table& t, std::size_t which) {
  const auto definition = jet::readTableDefBytes(db.pager(), db.header().format, t.def().page);
  return jet::write::readRealIndexes(definition, t.def(), db.header().format).at(which);
}

// The audits of `indexes` of one table, its rows read once for all.
inline std::vector<IndexAudit> auditIndexes(jet::Database& db, const jet::Table& t,
                                            const std::vector<jet::write::RealIndex>& indexes) {
  using namespace jet::write;
  std::vector<IndexAudit> audits(indexes.size());
  for (std::size_t i = 0; i < indexes.size(); ++i)
    audit_detail::TreeWalk(db.pager(), db.header().format, t.def().page, audits[i])
        .walk(indexes[i].location.root);

  // Only the key columns' values are needed.
  std::vector<std::size_t> keyColumns;
  for (const RealIndex& index : indexes)
    for (const IndexColumn& ic : index.columns)
      for (std::size_t c = 0; c < t.def().columns.size(); ++c)
        if (t.def().columns[c].number == ic.number) keyColumns.push_back(c);
  const KeyForms forms = keyForms(db.header());
  std::vector<std::vector<Entry>> expected(indexes.size());
  std::vector<jet::convert::Value> values(t.def().columns.size());
  forEachStoredRow(db.pager(), db.header(), t.def(), [&](const StoredRow& row) {
    for (const std::size_t c : keyColumns) values[c] = toWritable(row.values[c]);
    for (std::size_t i = 0; i < indexes.size(); ++i)
      if (auto e = indexEntry(indexes[i], t.def(), values, forms, row.slot))
        expected[i].push_back(std::move(*e));
  });
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    std::vector<Entry> held = audits[i].leafEntries;
    std::sort(held.begin(), held.end());
    std::sort(expected[i].begin(), expected[i].end());
    if (held == expected[i]) continue;
    audits[i].faults.push_back("entries without their row " + audit_detail::missingFrom(held, expected[i]));
    audits[i].faults.push_back("rows without their entry " + audit_detail::missingFrom(expected[i], held));
  }
  return audits;
}

inline IndexAudit auditIndex(jet::Database& db, const jet::Table& t, const jet::write::RealIndex& index) {
  return auditIndexes(db, t, {index}).front();
}

inline IndexAudit auditIndex(const std::string& path, const std::string& table, std::size_t which) {
  auto db = jet::Database::open(path, "");
  const jet::Table t = db->table(table);
  return auditIndex(*db, t, realIndex(*db, t, which));
}

// The faults of every index of every table in the file whose keys the
// engine can build, each line naming its table and index; empty when all
// are sound.
inline std::string indexFaults(const std::string& path) {
  using namespace jet::write;
  auto db = jet::Database::open(path, "");
  const KeyForms forms = keyForms(db->header());
  std::string out;
  for (const jet::CatalogEntry& entry : db->catalog()) {
    if (entry.objectType() != jet::ObjectType::Table) continue;
    const jet::Table t = db->tableAtPage(entry.tableDefPage(), entry.name);
    const auto definition = jet::readTableDefBytes(db->pager(), db->header().format, t.def().page);
    const auto all = readRealIndexes(definition, t.def(), db->header().format);
    std::vector<RealIndex> indexes;
    std::vector<std::size_t> numbers;
    for (std::size_t which = 0; which < all.size(); ++which)
      if (!unsupportedIndex(all[which], t.def(), forms))
        indexes.push_back(all[which]), numbers.push_back(which);
    if (indexes.empty()) continue;
    const std::vector<IndexAudit> audits = auditIndexes(*db, t, indexes);
    for (std::size_t i = 0; i < audits.size(); ++i)
      for (const std::string& f : audits[i].faults)
        out += entry.name + " index " + std::to_string(numbers[i]) + ": " + f + "\n";
  }
  return out;
}

}  // namespace jetwrite_test
