// The catalog side of creating and dropping tables. A new table gets its
// MSysObjects row (Id = its first definition page, under the "Tables"
// container, Type 1, created and updated now, the database owner's SID)
// with both index entries that table keeps, and one MSysACEs row for each
// account that holds rights on the "Tables" container, with full rights,
// as Jet grants a table's creator. Dropping a table deletes those rows and
// their index entries again; a table that takes part in relationships is
// refused rather than left named by them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/database.h"
#include "jet/header.h"
#include "jet/write/page_store.h"
#include "jet/write/table_writer.h"

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

  PageStore& store_;
  const Header& header_;
  Database& database_;
};

// Now, as Access stores dates: local time in days since 1899-12-30.
double nowAsDays();

}  // namespace jet::write
