// The catalog side of creating and dropping tables. A new table gets its
// MSysObjects row (Id = its first definition page, under the "Tables"
// container, Type 1, created and updated now, the database owner's SID)
// with both index entries that table keeps, and one MSysACEs row for each
// account that holds rights on the "Tables" container, with full rights,
// as Jet grants a table's creator. Dropping a table deletes those rows and
// their index entries again, with every row that names the table: its
// relationships (MSysRelationships rows and their own catalog rows) and,
// in files Access has opened, its navigation-pane rows (its entries in
// groups, the group "Tables and Related Views" gives it, its object id).
// A table in a relationship whose integrity is enforced is refused: the
// other table's definition names it through a foreign-key index.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "jet/database/database.h"
#include "jet/database/table_writer.h"
#include "jet/file/header.h"
#include "jet/journal/page_store.h"

namespace jet::write {

class CatalogWriter {
 public:
  // `database` must read through `store` as the statement began.
  CatalogWriter(PageStore& store, const Header& header, Database& database);

  void addTable(const std::string& name, std::uint32_t tdefPage);
  void removeTable(const std::string& name, std::uint32_t tdefPage);

 private:
  struct Found {
    std::int32_t tablesContainer = 0;
    std::vector<std::uint8_t> owner;
    std::vector<std::vector<std::uint8_t>> containerSids;
  };
  Found readCatalogFacts();

  using RowPicker = std::function<bool(const std::vector<Value>& row, const TableDef& def)>;
  std::optional<Table> optionalTable(const std::string& name);
  // Deletes the rows `doomed` picks, with their index entries; how many.
  std::size_t eraseRows(const Table& table, const RowPicker& doomed);
  // Deletes an object's catalog row and its access rights.
  void eraseObject(std::int32_t id, std::int16_t type, const std::string& what);
  void removeRelationships(const std::string& name);
  void removeNavigationRows(std::uint32_t tdefPage);

  PageStore& store_;
  const Header& header_;
  Database& database_;
};

// Now, as Access stores dates: local time in days since 1899-12-30.
double nowAsDays();

}  // namespace jet::write
