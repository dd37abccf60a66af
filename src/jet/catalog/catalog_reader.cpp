// Catalog reading through the ordinary row cursor over MSysObjects.
#include "jet/catalog/catalog_reader.h"

#include <optional>

#include "jet/database/database.h"

namespace jet {
namespace {

std::optional<std::size_t> columnIndex(const TableDef& def, std::string_view name) {
  for (std::size_t i = 0; i < def.columns.size(); ++i) {
    if (def.columns[i].name == name) return i;
  }
  return std::nullopt;
}

template <typename T>
T numberAt(const std::vector<Value>& row, std::optional<std::size_t> i) {
  if (!i) return T{};
  if (const auto* v = std::get_if<std::int32_t>(&row[*i])) return static_cast<T>(*v);
  if (const auto* v = std::get_if<std::int16_t>(&row[*i])) return static_cast<T>(*v);
  return T{};
}

std::string textAt(const std::vector<Value>& row, std::optional<std::size_t> i) {
  if (!i) return {};
  if (const auto* v = std::get_if<std::string>(&row[*i])) return *v;
  return {};
}

bool isListedType(std::int16_t type) {
  switch (static_cast<ObjectType>(type)) {
    case ObjectType::Table:
    case ObjectType::OdbcLinkedTable:
    case ObjectType::Query:
    case ObjectType::LinkedTable: return true;
    default: return false;
  }
}

}  // namespace

std::vector<CatalogEntry> readCatalog(Database& database) {
  Table objects = database.tableAtPage(kCatalogTablePage, "MSysObjects");
  const TableDef& def = objects.def();
  const auto id = columnIndex(def, "Id"), parent = columnIndex(def, "ParentId"),
             name = columnIndex(def, "Name"), type = columnIndex(def, "Type"),
             flags = columnIndex(def, "Flags"), db = columnIndex(def, "Database"),
             foreign = columnIndex(def, "ForeignName"), connect = columnIndex(def, "Connect"),
             properties = columnIndex(def, "LvProp");
  if (!id || !name || !type) throw damaged("the catalog lacks its Id, Name or Type column");

  std::vector<CatalogEntry> entries;
  RowCursor rows = objects.rows();
  std::vector<Value> row;
  while (rows.next(row)) {
    CatalogEntry e;
    e.type = numberAt<std::int16_t>(row, type);
    if (!isListedType(e.type)) continue;
    e.id = numberAt<std::int32_t>(row, id);
    e.parentId = numberAt<std::int32_t>(row, parent);
    e.name = textAt(row, name);
    e.flags = numberAt<std::uint32_t>(row, flags);
    e.database = textAt(row, db);
    e.foreignName = textAt(row, foreign);
    e.connect = textAt(row, connect);
    if (properties) {
      if (auto* blob = std::get_if<Bytes>(&row[*properties])) e.properties = std::move(*blob);
    }
    entries.push_back(std::move(e));
  }
  return entries;
}

}  // namespace jet
