#include "jet/catalog/system_tables.h"

#include "jet/catalog/catalog_reader.h"
#include "jet/catalog/catalog_writer.h"
#include "jet/database/table_writer.h"
#include "jet/error.h"
#include "jet/file/pager.h"
#include "jet/table/index_definitions.h"
#include "jet/table/table_def_reader.h"
#include "jet/usage_map/usage_map_writer.h"
#include "utf16/encode.h"

namespace jet::write {
namespace {

constexpr std::uint8_t kJetIndex = 0x80;  // set on every index Jet writes
// A column flag of unknown meaning that Jet and ACE set on every column
// of their system tables.
constexpr std::uint8_t kSystemColumn = 0x10;

using namespace object_ids;
constexpr std::int32_t kSystemObject = static_cast<std::int32_t>(object_flags::kSystem);

// The security identifiers of a new file: the Admin user, the engine
// that owns the system objects, and the Admins and Users groups. Jet
// stores them in a per-file form whose derivation is not known; within
// every file the four differ from each other in the same bits, so the set
// is built around the Admin value Jet-made templates commonly carry.
using Sid = std::vector<std::uint8_t>;
const Sid kAdminSid{0xA6, 0x33};
const Sid kEngineSid{0xA7, 0x31};
const Sid kAdminsSid{0xA7, 0x36};
const Sid kUsersSid{0xA7, 0x33};

// Jet declares the binary columns of its system tables 510 bytes long.
constexpr std::uint16_t kSidBytes = 510;

NewColumn column(const char* name, ColumnType type, std::uint16_t size = 0) {
  return {name, type, size};
}

TableShape msysObjects() {
  return {{column("Id", ColumnType::Int32), column("ParentId", ColumnType::Int32),
           column("Name", ColumnType::Text, 255), column("Type", ColumnType::Int16),
           column("DateCreate", ColumnType::DateTime), column("DateUpdate", ColumnType::DateTime),
           column("Owner", ColumnType::Binary, kSidBytes), column("Flags", ColumnType::Int32),
           column("Database", ColumnType::Memo), column("Connect", ColumnType::Memo),
           column("ForeignName", ColumnType::Text, 255),
           column("RmtInfoShort", ColumnType::Binary, kSidBytes), column("RmtInfoLong", ColumnType::Ole),
           column("Lv", ColumnType::Ole), column("LvProp", ColumnType::Ole),
           column("LvModule", ColumnType::Ole), column("LvExtra", ColumnType::Ole)},
          {{"ParentIdName", {1, 2}, kJetIndex | kIndexUnique, false},
           {"Id", {0}, kJetIndex | kIndexUnique, true}},
          true,
          kSystemColumn};
}

TableShape msysAces() {
  return {{column("ObjectId", ColumnType::Int32), column("SID", ColumnType::Binary, kSidBytes),
           column("ACM", ColumnType::Int32), column("FInheritable", ColumnType::Boolean)},
          {{"ObjectId", {0}, kJetIndex | kIndexRequired, false}},
          true,
          kSystemColumn};
}

TableShape msysQueries() {
  return {{column("ObjectId", ColumnType::Int32), column("Attribute", ColumnType::Byte),
           column("Order", ColumnType::Binary, kSidBytes), column("Name1", ColumnType::Text, 255),
           column("Name2", ColumnType::Text, 255), column("Expression", ColumnType::Memo),
           column("Flag", ColumnType::Int16), column("LvExtra", ColumnType::Int32)},
          {{"ObjectIdAttribute", {0, 1, 2}, kJetIndex | kIndexUnique, true}},
          true,
          kSystemColumn};
}

TableShape msysRelationships() {
  return {{column("szRelationship", ColumnType::Text, 255), column("grbit", ColumnType::Int32),
           column("ccolumn", ColumnType::Int32), column("icolumn", ColumnType::Int32),
           column("szObject", ColumnType::Text, 255), column("szColumn", ColumnType::Text, 255),
           column("szReferencedObject", ColumnType::Text, 255),
           column("szReferencedColumn", ColumnType::Text, 255)},
          {{"szRelationship", {0}, kJetIndex | kIndexIgnoresNulls, false},
           {"szObject", {4}, kJetIndex | kIndexIgnoresNulls, false},
           {"szReferencedObject", {6}, kJetIndex | kIndexIgnoresNulls, false}},
          true,
          kSystemColumn};
}

// ACE keeps this one's definition marked as an ordinary table; only its
// catalog row says "system".
TableShape msysComplexColumns() {
  NewColumn complexId = column("ComplexID", ColumnType::Int32);
  complexId.autoNumber = true;
  return {
      {column("ColumnName", ColumnType::Text, 255), column("ComplexTypeObjectID", ColumnType::Int32),
       column("FlatTableID", ColumnType::Int32), column("ConceptualTableID", ColumnType::Int32), complexId},
      {{"IdxID", {4}, kJetIndex | kIndexRequired | kIndexIgnoresNulls | kIndexUnique, true},
       {"IdxConceptualTableID", {3}, kJetIndex | kIndexRequired | kIndexIgnoresNulls, false},
       {"IdxFlatTableID", {2}, kJetIndex | kIndexRequired | kIndexIgnoresNulls, false}},
      false,
      kSystemColumn};
}

struct Ace {
  Sid sid;
  std::int32_t rights;
  bool inheritable;
};

// The rights Jet grants in a new file, per object.
std::vector<Ace> acesOf(std::int32_t object, const std::string& name) {
  switch (object) {
    case kTablesContainer:
      return {{kAdminsSid, 983294, true}, {kAdminSid, 393217, false}, {kUsersSid, 1048319, true}};
    case kRelationshipsContainer:
      return {{kAdminsSid, 983294, true}, {kAdminSid, 393217, false}, {kUsersSid, 1048575, true}};
    case kDatabasesContainer: return {{kAdminSid, 393216, false}};
    case kDatabase: return {{kAdminSid, 393230, false}, {kUsersSid, 14, false}};
    default: break;
  }
  if (name == "MSysRelationships") return {{kAdminSid, 917504, false}, {kUsersSid, 20, false}};
  if (name == "MSysACEs") return {{kAdminSid, 393216, false}};
  return {{kAdminSid, 393216, false}, {kUsersSid, 20, false}};
}

struct CatalogRow {
  std::int32_t id;
  std::int32_t parent;
  std::string name;
  std::int16_t type;
  Sid owner;
};

TableWriter writerOf(const PageStore& store, const Header& header, std::uint32_t page, const char* name) {
  Pager pager(store.snapshot(), header.format.pageSize, 0);
  return TableWriter(store, header, readTableDef(pager, header, page), name);
}

}  // namespace

std::vector<SystemTable> systemTablesOf(Version version) {
  std::vector<SystemTable> tables{{"MSysObjects", msysObjects()},
                                  {"MSysACEs", msysAces()},
                                  {"MSysQueries", msysQueries()},
                                  {"MSysRelationships", msysRelationships()}};
  if (version >= Version::Ace12) tables.push_back({"MSysComplexColumns", msysComplexColumns()});
  return tables;
}

void writeSystemTables(PageStore& store, const Header& header, const std::vector<SystemTable>& tables) {
  const Format& f = header.format;
  // The definitions come first so that MSysObjects lands on page 2 and
  // MSysACEs on page 3, where the engine looks for them.
  std::vector<std::uint32_t> pages;
  for (std::size_t i = 0; i < tables.size(); ++i)
    pages.push_back(allocatePage(store, f, std::vector<std::uint8_t>(f.pageSize, 0)));
  if (pages.front() != kCatalogTablePage) throw Error(errc::kFailure, "A new database must start empty.");
  for (std::size_t i = 0; i < tables.size(); ++i)
    createTableDefinition(store, header, tables[i].shape, pages[i]);
}

void writeCatalogRows(PageStore& store, const Header& header, const std::vector<SystemTable>& tables) {
  std::vector<CatalogRow> rows{
      {kTablesContainer, kRootContainer, "Tables", static_cast<std::int16_t>(ObjectType::Container),
       kEngineSid},
      {kDatabasesContainer, kRootContainer, "Databases", static_cast<std::int16_t>(ObjectType::Container),
       kEngineSid},
      {kRelationshipsContainer, kRootContainer, "Relationships",
       static_cast<std::int16_t>(ObjectType::Container), kEngineSid},
      {kDatabase, kDatabasesContainer, "MSysDb", static_cast<std::int16_t>(ObjectType::Database), kAdminSid}};
  for (std::size_t i = 0; i < tables.size(); ++i)
    rows.push_back({static_cast<std::int32_t>(kCatalogTablePage + i), kTablesContainer, tables[i].name,
                    static_cast<std::int16_t>(ObjectType::Table), kEngineSid});

  TableWriter objects = writerOf(store, header, kCatalogTablePage, "MSysObjects");
  TableWriter aces = writerOf(store, header, kAccessRightsTablePage, "MSysACEs");
  const double now = nowAsDays();
  for (const CatalogRow& row : rows) {
    std::vector<convert::Value> values(objects.def().columns.size(), std::monostate{});
    values[0] = row.id;
    values[1] = row.parent;
    values[2] = *utf16::utf8ToUtf16(row.name);
    values[3] = row.type;
    values[4] = DateTime{now};
    values[5] = DateTime{now};
    values[6] = row.owner;
    values[7] = kSystemObject;
    objects.insertValues(store, std::move(values));
    for (const Ace& ace : acesOf(row.id, row.name))
      aces.insertValues(store, {row.id, ace.sid, ace.rights, ace.inheritable});
  }
}

}  // namespace jet::write
