#include "jet/catalog/catalog_writer.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <set>

#include "jet/catalog/catalog_reader.h"
#include "jet/convert/date_text.h"
#include "jet/error.h"
#include "jet/row/stored_rows.h"
#include "utf16/encode.h"

namespace jet::write {
namespace {

constexpr std::int32_t kFullRights = 0xFFFFF;
constexpr std::int16_t kContainerType = static_cast<std::int16_t>(ObjectType::Container);
constexpr std::int16_t kTableType = static_cast<std::int16_t>(ObjectType::Table);
constexpr std::int16_t kRelationshipType = static_cast<std::int16_t>(ObjectType::Relationship);
constexpr std::int32_t kNotEnforced = 0x02;  // grbit: referential integrity not enforced

std::size_t columnIndex(const TableDef& def, const std::string& name) {
  for (std::size_t i = 0; i < def.columns.size(); ++i)
    if (def.columns[i].name == name) return i;
  throw damaged("the system table lacks its column '" + name + "'");
}

bool sameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

template <typename T>
const T* field(const std::vector<Value>& row, const TableDef& def, const std::string& name) {
  return std::get_if<T>(&row[columnIndex(def, name)]);
}

// Picks the rows whose Long `column` holds one of `values`.
std::function<bool(const std::vector<Value>&, const TableDef&)> longIn(const char* column,
                                                                       const std::set<std::int32_t>& values) {
  return [column, &values](const std::vector<Value>& row, const TableDef& def) {
    const auto* value = field<std::int32_t>(row, def, column);
    return value && values.contains(*value);
  };
}

}  // namespace

double nowAsDays() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  const long days = convert::daysSinceEpoch(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return days + (local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec) / 86400.0;
}

CatalogWriter::CatalogWriter(PageStore& store, const Header& header, Database& database)
    : store_(store), header_(header), database_(database) {}

CatalogWriter::Found CatalogWriter::readCatalogFacts() {
  Found found;
  const Table objects = database_.tableAtPage(kCatalogTablePage, "MSysObjects");
  const TableDef& od = objects.def();
  RowCursor rows = objects.rows();
  std::vector<Value> row;
  while (rows.next(row)) {
    const auto* name = field<std::string>(row, od, "Name");
    const auto* type = field<std::int16_t>(row, od, "Type");
    const auto* parent = field<std::int32_t>(row, od, "ParentId");
    if (name == nullptr || type == nullptr || parent == nullptr) continue;
    if (*name == "Tables" && *type == kContainerType && *parent == object_ids::kRootContainer)
      found.tablesContainer = *field<std::int32_t>(row, od, "Id");
    if (*name == "MSysDb")
      if (const auto* owner = field<Bytes>(row, od, "Owner")) found.owner = *owner;
  }
  if (found.tablesContainer == 0) throw damaged("the catalog has no \"Tables\" container");

  const Table aces = database_.tableAtPage(kAccessRightsTablePage, "MSysACEs");
  RowCursor aceRows = aces.rows();
  while (aceRows.next(row)) {
    const auto* object = field<std::int32_t>(row, aces.def(), "ObjectId");
    const auto* sid = field<Bytes>(row, aces.def(), "SID");
    if (object && sid && *object == found.tablesContainer) found.containerSids.push_back(*sid);
  }
  return found;
}

void CatalogWriter::addTable(const std::string& name, std::uint32_t tdefPage) {
  const Found facts = readCatalogFacts();
  const double now = nowAsDays();

  const Table objects = database_.tableAtPage(kCatalogTablePage, "MSysObjects");
  TableWriter catalog(store_, header_, objects.def(), objects.name());
  const TableDef& od = objects.def();
  std::vector<convert::Value> values(od.columns.size(), std::monostate{});
  values[columnIndex(od, "Id")] = static_cast<std::int32_t>(tdefPage);
  values[columnIndex(od, "ParentId")] = facts.tablesContainer;
  values[columnIndex(od, "Name")] = *utf16::utf8ToUtf16(name);
  values[columnIndex(od, "Type")] = kTableType;
  values[columnIndex(od, "DateCreate")] = DateTime{now};
  values[columnIndex(od, "DateUpdate")] = DateTime{now};
  values[columnIndex(od, "Flags")] = std::int32_t{0};
  if (!facts.owner.empty()) values[columnIndex(od, "Owner")] = facts.owner;
  catalog.insertValues(store_, std::move(values));

  const Table aces = database_.tableAtPage(kAccessRightsTablePage, "MSysACEs");
  TableWriter rights(store_, header_, aces.def(), aces.name());
  for (const auto& sid : facts.containerSids) {
    std::vector<convert::Value> ace(aces.def().columns.size(), std::monostate{});
    ace[columnIndex(aces.def(), "ObjectId")] = static_cast<std::int32_t>(tdefPage);
    ace[columnIndex(aces.def(), "SID")] = sid;
    ace[columnIndex(aces.def(), "ACM")] = kFullRights;
    ace[columnIndex(aces.def(), "FInheritable")] = false;
    rights.insertValues(store_, std::move(ace));
  }
}

std::optional<Table> CatalogWriter::optionalTable(const std::string& name) {
  try {
    return database_.table(name);
  } catch (const Error& e) {
    if (e.number() != errc::kNoSuchTable) throw;
    return std::nullopt;
  }
}

std::size_t CatalogWriter::eraseRows(const Table& table, const RowPicker& doomed) {
  TableWriter writer(store_, header_, table.def(), table.name());
  std::vector<StoredRow> rows;
  forEachStoredRow(store_, header_, table.def(), [&](const StoredRow& r) {
    if (doomed(r.values, table.def())) rows.push_back(r);
  });
  for (const StoredRow& r : rows) writer.erase(store_, r);
  return rows.size();
}

void CatalogWriter::eraseObject(std::int32_t id, std::int16_t type, const std::string& what) {
  const Table objects = database_.tableAtPage(kCatalogTablePage, "MSysObjects");
  const std::size_t erased = eraseRows(objects, [&](const std::vector<Value>& row, const TableDef& def) {
    const auto* rowId = field<std::int32_t>(row, def, "Id");
    const auto* rowType = field<std::int16_t>(row, def, "Type");
    return rowId && rowType && *rowId == id && *rowType == type;
  });
  if (erased != 1) throw damaged("the catalog does not name " + what + " exactly once");
  eraseRows(database_.tableAtPage(kAccessRightsTablePage, "MSysACEs"),
            [&](const std::vector<Value>& row, const TableDef& def) {
              const auto* object = field<std::int32_t>(row, def, "ObjectId");
              return object && *object == id;
            });
}

void CatalogWriter::removeRelationships(const std::string& name) {
  const std::optional<Table> relationships = optionalTable("MSysRelationships");
  if (!relationships) return;
  const TableDef& rd = relationships->def();
  std::set<std::string> named;
  RowCursor rows = relationships->rows();
  std::vector<Value> row;
  while (rows.next(row)) {
    const auto* object = field<std::string>(row, rd, "szObject");
    const auto* referenced = field<std::string>(row, rd, "szReferencedObject");
    if (!(object && sameName(*object, name)) && !(referenced && sameName(*referenced, name))) continue;
    // An enforced relationship also lives in the other table's definition,
    // as a foreign-key index naming this table; this engine does not
    // rewrite another table's definition, so it leaves the table alone.
    const auto* grbit = field<std::int32_t>(row, rd, "grbit");
    if (grbit == nullptr || (*grbit & kNotEnforced) == 0)
      throw Error(errc::kFailure, "Cannot delete table '" + name +
                                      "': it takes part in one or more relationships. Delete its "
                                      "relationships first.");
    if (const auto* relationship = field<std::string>(row, rd, "szRelationship")) named.insert(*relationship);
  }
  if (named.empty()) return;
  eraseRows(*relationships, [&](const std::vector<Value>& r, const TableDef& def) {
    const auto* relationship = field<std::string>(r, def, "szRelationship");
    return relationship && named.contains(*relationship);
  });
  // Each relationship also has a catalog row of its own, under the
  // "Relationships" container.
  const Table objects = database_.tableAtPage(kCatalogTablePage, "MSysObjects");
  std::vector<std::int32_t> ids;
  RowCursor catalog = objects.rows();
  while (catalog.next(row)) {
    const auto* objectName = field<std::string>(row, objects.def(), "Name");
    const auto* type = field<std::int16_t>(row, objects.def(), "Type");
    if (objectName && type && *type == kRelationshipType && named.contains(*objectName))
      ids.push_back(*field<std::int32_t>(row, objects.def(), "Id"));
  }
  for (const std::int32_t id : ids) eraseObject(id, kRelationshipType, "a relationship");
}

void CatalogWriter::removeNavigationRows(std::uint32_t tdefPage) {
  const std::set<std::int32_t> table{static_cast<std::int32_t>(tdefPage)};
  // "Tables and Related Views" gives each table a group of its own.
  std::set<std::int32_t> groups;
  const std::optional<Table> groupTable = optionalTable("MSysNavPaneGroups");
  if (groupTable) {
    RowCursor rows = groupTable->rows();
    std::vector<Value> row;
    while (rows.next(row))
      if (longIn("ObjectID", table)(row, groupTable->def()))
        if (const auto* group = field<std::int32_t>(row, groupTable->def(), "Id")) groups.insert(*group);
  }
  if (const std::optional<Table> members = optionalTable("MSysNavPaneGroupToObjects"))
    eraseRows(*members, [&](const std::vector<Value>& row, const TableDef& def) {
      return longIn("ObjectID", table)(row, def) || longIn("GroupID", groups)(row, def);
    });
  if (groupTable) eraseRows(*groupTable, longIn("ObjectID", table));
  if (const std::optional<Table> objectIds = optionalTable("MSysNavPaneObjectIDs"))
    eraseRows(*objectIds, longIn("Id", table));
}

void CatalogWriter::removeTable(const std::string& name, std::uint32_t tdefPage) {
  removeRelationships(name);
  removeNavigationRows(tdefPage);
  eraseObject(static_cast<std::int32_t>(tdefPage), kTableType, "table '" + name + "'");
}

}  // namespace jet::write
