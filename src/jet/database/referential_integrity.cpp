#include "jet/database/referential_integrity.h"

#include "jet/error.h"
#include "jet/index/index_tree.h"

namespace jet::write {
namespace {

std::size_t positionOf(const TableDef& def, std::uint16_t number) {
  for (std::size_t i = 0; i < def.columns.size(); ++i)
    if (def.columns[i].number == number) return i;
  throw damaged("an index names a column that does not exist");
}

std::string nameOf(const Database& database, std::uint32_t tdefPage) {
  for (const CatalogEntry& e : database.catalog())
    if (e.objectType() == ObjectType::Table && e.tableDefPage() == tdefPage) return e.name;
  throw damaged("a relationship names a table that is not in the catalog");
}

}  // namespace

std::vector<RequiredReference> requiredReferences(Database& database, const TableDef& def) {
  const Format& f = database.header().format;
  const auto definition = readTableDefBytes(database.pager(), f, def.page);
  const std::vector<ForeignKey> keys = readForeignKeys(definition, def, f);
  if (keys.empty()) return {};
  const std::vector<RealIndex> indexes = readRealIndexes(definition, def, f);
  std::vector<RequiredReference> out;
  for (const ForeignKey& key : keys) {
    RequiredReference r;
    if (key.realIndex >= indexes.size()) throw damaged("a relationship names an index that does not exist");
    r.key = indexes[key.realIndex];
    r.table = nameOf(database, key.referencedTable);
    r.referencedDef = database.tableAtPage(key.referencedTable, r.table).def();
    const auto referencedDefinition = readTableDefBytes(database.pager(), f, key.referencedTable);
    const auto real = realIndexOf(referencedDefinition, r.referencedDef, f, key.referencedIndex);
    const std::vector<RealIndex> referenced = readRealIndexes(referencedDefinition, r.referencedDef, f);
    if (!real || *real >= referenced.size())
      throw damaged("a relationship names an index that does not exist");
    r.referencedIndex = referenced[*real];
    if (r.referencedIndex.columns.size() != r.key.columns.size())
      throw damaged("the two sides of a relationship have different columns");
    out.push_back(std::move(r));
  }
  return out;
}

void requireReferencedRow(const PageStore& store, const Format& f, const RequiredReference& reference,
                          const TableDef& def, const std::vector<convert::Value>& values,
                          const KeyForms& forms) {
  // The key's values, moved to the referenced table's columns.
  std::vector<convert::Value> referenced(reference.referencedDef.columns.size());
  for (std::size_t i = 0; i < reference.key.columns.size(); ++i) {
    const std::size_t from = positionOf(def, reference.key.columns[i].number);
    if (std::holds_alternative<std::monostate>(values[from])) return;
    referenced[positionOf(reference.referencedDef, reference.referencedIndex.columns[i].number)] =
        values[from];
  }
  Entry key = *indexEntry(reference.referencedIndex, reference.referencedDef, referenced, forms, 0);
  key.resize(key.size() - kRowPointerSize);
  if (indexHoldsKey(store, f, reference.referencedIndex.location, key)) return;
  throw Error(errc::kFailure,
              "You cannot add or change a record because a related record is required in table '" +
                  reference.table + "'.");
}

}  // namespace jet::write
