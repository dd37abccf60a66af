#include "jet/index/index_entries.h"

#include "jet/error.h"

namespace jet::write {
namespace {

const ColumnDef* columnNumbered(const TableDef& def, std::uint16_t number) {
  for (const ColumnDef& c : def.columns)
    if (c.number == number) return &c;
  return nullptr;
}

const convert::Value& valueOf(const TableDef& def, const std::vector<convert::Value>& values,
                              const ColumnDef& c) {
  return values[static_cast<std::size_t>(&c - def.columns.data())];
}

struct NullKeys {
  bool any = false;
  bool all = true;
};

NullKeys nullKeys(const RealIndex& index, const TableDef& def, const std::vector<convert::Value>& values) {
  NullKeys n;
  for (const IndexColumn& ic : index.columns) {
    const ColumnDef& c = *columnNumbered(def, ic.number);
    const bool null = nullKey(c, valueOf(def, values, c));
    n.any = n.any || null;
    n.all = n.all && null;
  }
  return n;
}

Error nullInKey() {
  return Error(errc::kFailure, "Index or primary key cannot contain a Null value.");
}

}  // namespace

std::optional<std::string> unsupportedIndex(const RealIndex& index, const TableDef& def,
                                            const KeyForms& forms) {
  for (const IndexColumn& ic : index.columns) {
    const ColumnDef* c = columnNumbered(def, ic.number);
    if (c == nullptr) return "it indexes a column that does not exist";
    if (auto reason = unkeyableColumn(*c, forms)) return reason;
  }
  return std::nullopt;
}

std::optional<Entry> indexEntry(const RealIndex& index, const TableDef& def,
                                const std::vector<convert::Value>& values, const KeyForms& forms,
                                std::uint32_t rowPointer) {
  if (index.ignoresNulls() && nullKeys(index, def, values).all) return std::nullopt;
  Entry e;
  for (const IndexColumn& ic : index.columns) {
    const ColumnDef& c = *columnNumbered(def, ic.number);
    appendColumnKey(e, c, valueOf(def, values, c), ic.ascending, forms);
  }
  appendEntryRowPointer(e, rowPointer);
  return e;
}

void addRowToIndex(PageStore& store, const Format& f, const RealIndex& index, const TableDef& def,
                   const std::vector<convert::Value>& values, const KeyForms& forms,
                   std::uint32_t rowPointer) {
  const NullKeys nulls = nullKeys(index, def, values);
  if (nulls.any && index.takesNoNull()) throw nullInKey();
  const auto entry = indexEntry(index, def, values, forms, rowPointer);
  if (entry) insertIndexEntry(store, f, index.location, *entry, index.unique() && !nulls.all);
}

bool removeRowFromIndex(PageStore& store, const Format& f, const RealIndex& index, const TableDef& def,
                        const std::vector<convert::Value>& values, const KeyForms& forms,
                        std::uint32_t rowPointer) {
  const auto entry = indexEntry(index, def, values, forms, rowPointer);
  return !entry || removeIndexEntry(store, f, index.location, *entry);
}

}  // namespace jet::write
