#include "jet/write/system_tables.h"

#include "jet/catalog.h"
#include "utf16/encode.h"
#include "jet/error.h"
#include "jet/pager.h"
#include "jet/table_def.h"
#include "jet/write/catalog_writer.h"
#include "jet/write/table_writer.h"
#include "jet/write/usage_maps.h"

namespace jet::write {
namespace {

using sql::ColumnKind;

constexpr std::uint8_t kUnique = 0x01;
constexpr std::uint8_t kIgnoreNulls = 0x02;
constexpr std::uint8_t kRequired = 0x08;
constexpr std::uint8_t kJetIndex = 0x80;  // set on every index Jet writes
// A column flag of unknown meaning that Jet and ACE set on every column
// of their system tables.
constexpr std::uint8_t kSystemColumn = 0x10;

constexpr std::int32_t kRootContainer = 0x0F000000;
constexpr std::int32_t kTablesContainer = 0x0F000001;
constexpr std::int32_t kDatabasesContainer = 0x0F000002;
constexpr std::int32_t kRelationshipsContainer = 0x0F000003;
constexpr std::int32_t kDatabaseObject = 0x10000000;  // MSysDb
constexpr std::int32_t kSystemObject = static_cast<std::int32_t>(0x80000000);
constexpr std::int16_t kDatabaseType = 2;

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

sql::ColumnDefinition column(const char* name, ColumnKind kind, std::uint16_t size = 0) {
  return {name, {kind, size, 0, 0, false}};
}

TableShape msysObjects() {
  return {{column("Id", ColumnKind::Long), column("ParentId", ColumnKind::Long),
           column("Name", ColumnKind::Text, 255), column("Type", ColumnKind::Integer),
           column("DateCreate", ColumnKind::DateTime), column("DateUpdate", ColumnKind::DateTime),
           column("Owner", ColumnKind::Binary, kSidBytes), column("Flags", ColumnKind::Long),
           column("Database", ColumnKind::Memo), column("Connect", ColumnKind::Memo),
           column("ForeignName", ColumnKind::Text, 255), column("RmtInfoShort", ColumnKind::Binary, kSidBytes),
           column("RmtInfoLong", ColumnKind::OleObject), column("Lv", ColumnKind::OleObject),
           column("LvProp", ColumnKind::OleObject), column("LvModule", ColumnKind::OleObject),
           column("LvExtra", ColumnKind::OleObject)},
          {{"ParentIdName", {1, 2}, kJetIndex | kUnique, false}, {"Id", {0}, kJetIndex | kUnique, true}},
          true,
          kSystemColumn};
}

TableShape msysAces() {
  return {{column("ObjectId", ColumnKind::Long), column("SID", ColumnKind::Binary, kSidBytes),
           column("ACM", ColumnKind::Long), column("FInheritable", ColumnKind::Boolean)},
          {{"ObjectId", {0}, kJetIndex | kRequired, false}},
          true,
          kSystemColumn};
}

TableShape msysQueries() {
  return {{column("ObjectId", ColumnKind::Long), column("Attribute", ColumnKind::Byte),
           column("Order", ColumnKind::Binary, kSidBytes), column("Name1", ColumnKind::Text, 255),
           column("Name2", ColumnKind::Text, 255), column("Expression", ColumnKind::Memo),
           column("Flag", ColumnKind::Integer), column("LvExtra", ColumnKind::Long)},
          {{"ObjectIdAttribute", {0, 1, 2}, kJetIndex | kUnique, true}},
          true,
          kSystemColumn};
}

TableShape msysRelationships() {
  return {{column("szRelationship", ColumnKind::Text, 255), column("grbit", ColumnKind::Long),
           column("ccolumn", ColumnKind::Long), column("icolumn", ColumnKind::Long),
           column("szObject", ColumnKind::Text, 255), column("szColumn", ColumnKind::Text, 255),
           column("szReferencedObject", ColumnKind::Text, 255),
           column("szReferencedColumn", ColumnKind::Text, 255)},
          {{"szRelationship", {0}, kJetIndex | kIgnoreNulls, false},
           {"szObject", {4}, kJetIndex | kIgnoreNulls, false},
           {"szReferencedObject", {6}, kJetIndex | kIgnoreNulls, false}},
          true,
          kSystemColumn};
}

// ACE keeps this one's definition marked as an ordinary table; only its
// catalog row says "system".
TableShape msysComplexColumns() {
  sql::ColumnDefinition complexId = column("ComplexID", ColumnKind::Long);
  complexId.type.autoNumber = true;
  return {{column("ColumnName", ColumnKind::Text, 255), column("ComplexTypeObjectID", ColumnKind::Long),
           column("FlatTableID", ColumnKind::Long), column("ConceptualTableID", ColumnKind::Long), complexId},
          {{"IdxID", {4}, kJetIndex | kRequired | kIgnoreNulls | kUnique, true},
           {"IdxConceptualTableID", {3}, kJetIndex | kRequired | kIgnoreNulls, false},
           {"IdxFlatTableID", {2}, kJetIndex | kRequired | kIgnoreNulls, false}},
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
    case kDatabasesContainer:
      return {{kAdminSid, 393216, false}};
    case kDatabaseObject:
      return {{kAdminSid, 393230, false}, {kUsersSid, 14, false}};
    default:
      break;
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
  for (std::size_t i = 0; i < tables.size(); ++i) createTableDefinition(store, header, tables[i].shape, pages[i]);
}

void writeCatalogRows(PageStore& store, const Header& header, const std::vector<SystemTable>& tables) {
  std::vector<CatalogRow> rows{
      {kTablesContainer, kRootContainer, "Tables", static_cast<std::int16_t>(ObjectType::Container), kEngineSid},
      {kDatabasesContainer, kRootContainer, "Databases", static_cast<std::int16_t>(ObjectType::Container), kEngineSid},
      {kRelationshipsContainer, kRootContainer, "Relationships", static_cast<std::int16_t>(ObjectType::Container),
       kEngineSid},
      {kDatabaseObject, kDatabasesContainer, "MSysDb", kDatabaseType, kAdminSid}};
  for (std::size_t i = 0; i < tables.size(); ++i)
    rows.push_back({static_cast<std::int32_t>(kCatalogTablePage + i), kTablesContainer, tables[i].name,
                    static_cast<std::int16_t>(ObjectType::Table), kEngineSid});

  TableWriter objects = writerOf(store, header, kCatalogTablePage, "MSysObjects");
  TableWriter aces = writerOf(store, header, kCatalogTablePage + 1, "MSysACEs");
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
