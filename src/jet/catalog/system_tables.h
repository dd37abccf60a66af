// The system tables of a new database and the catalog rows Jet expects
// in it, as Jet lays them out for an empty file: MSysObjects (its
// definition on page 2, indexed by "Id" and "ParentIdName"), MSysACEs
// (page 3, indexed by "ObjectId"), MSysQueries and MSysRelationships, and
// for .accdb files MSysComplexColumns, where ACE looks up complex columns.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/file/header.h"
#include "jet/journal/page_store.h"
#include "jet/table/table_def_writer.h"

namespace jet::write {

struct SystemTable {
  const char* name;
  TableShape shape;
};

// In the order their definitions take pages 2, 3, 4, ...
std::vector<SystemTable> systemTablesOf(Version version);

// Writes the definitions of `tables` on pages 2, 3, ... of `store`, which
// holds only the header and the global usage map so far.
void writeSystemTables(PageStore& store, const Header& header, const std::vector<SystemTable>& tables);

// Adds the containers, the MSysDb row, a row per system table and the
// access rights Jet grants on each of them. Needs the definitions on disk.
void writeCatalogRows(PageStore& store, const Header& header, const std::vector<SystemTable>& tables);

}  // namespace jet::write
