// The catalog: rows of the system table MSysObjects, whose definition is
// always on page 2. Each object has an id (for tables: flag bits above the
// TDEF page number), a type, flags and - for linked tables - the linked
// database and the name of the table there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/catalog/catalog_format.h"

namespace jet {

struct CatalogEntry {
  std::int32_t id = 0;
  std::int32_t parentId = 0;
  std::string name;
  std::int16_t type = 0;
  std::uint32_t flags = 0;
  std::string database;                  // linked tables: the linked file
  std::string foreignName;               // linked tables: the table's name there
  std::string connect;                   // ODBC links: the connect string
  std::vector<std::uint8_t> properties;  // the LvProp blob, see table/properties.h

  ObjectType objectType() const { return static_cast<ObjectType>(type); }
  std::uint32_t tableDefPage() const { return static_cast<std::uint32_t>(id) & 0x00FFFFFF; }
};

class Database;

// Reads the catalog objects that are tables, queries or links.
std::vector<CatalogEntry> readCatalog(Database& database);

}  // namespace jet
