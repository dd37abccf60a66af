// The catalog: rows of the system table MSysObjects, whose definition is
// always on page 2. Each object has an id (for tables: flag bits above the
// TDEF page number), a type, flags and - for linked tables - the linked
// database and the name of the table there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jet {

inline constexpr std::uint32_t kCatalogTablePage = 2;

enum class ObjectType : std::int16_t {
  Table = 1, Container = 3, OdbcLinkedTable = 4, Query = 5, LinkedTable = 6, Relationship = 8
};

namespace object_flags {
inline constexpr std::uint32_t kSystem = 0x80000000;  // created by the engine itself
inline constexpr std::uint32_t kAccessHidden = 0x2;   // Access's own hidden objects
inline constexpr std::uint32_t kQueryKindMask = 0xF0; // 0 = select query
}  // namespace object_flags

struct CatalogEntry {
  std::int32_t id = 0;
  std::int32_t parentId = 0;
  std::string name;
  std::int16_t type = 0;
  std::uint32_t flags = 0;
  std::string database;     // linked tables: the linked file
  std::string foreignName;  // linked tables: the table's name there
  std::string connect;      // ODBC links: the connect string
  std::vector<std::uint8_t> properties;  // the LvProp blob, see properties.h

  ObjectType objectType() const { return static_cast<ObjectType>(type); }
  std::uint32_t tableDefPage() const { return static_cast<std::uint32_t>(id) & 0x00FFFFFF; }
};

class Database;

// Reads the catalog objects that are tables, queries or links.
std::vector<CatalogEntry> readCatalog(Database& database);

}  // namespace jet
