// The on-disk constants of the catalog, shared by its reader and writer:
// where the system tables start, the object types of MSysObjects, the
// fixed ids of the containers and the object flags.
#pragma once

#include <cstdint>

namespace jet {

// Where the system tables' definitions start in every file.
inline constexpr std::uint32_t kCatalogTablePage = 2;       // MSysObjects
inline constexpr std::uint32_t kAccessRightsTablePage = 3;  // MSysACEs

enum class ObjectType : std::int16_t {
  Table = 1,
  Database = 2,
  Container = 3,
  OdbcLinkedTable = 4,
  Query = 5,
  LinkedTable = 6,
  Relationship = 8
};

// The ids of the objects every file has: the root that holds the
// containers, the containers, and the database object MSysDb.
namespace object_ids {
inline constexpr std::int32_t kRootContainer = 0x0F000000;
inline constexpr std::int32_t kTablesContainer = 0x0F000001;
inline constexpr std::int32_t kDatabasesContainer = 0x0F000002;
inline constexpr std::int32_t kRelationshipsContainer = 0x0F000003;
inline constexpr std::int32_t kDatabase = 0x10000000;
}  // namespace object_ids

namespace object_flags {
inline constexpr std::uint32_t kSystem = 0x80000000;   // created by the engine itself
inline constexpr std::uint32_t kAccessHidden = 0x2;    // Access's own hidden objects
inline constexpr std::uint32_t kQueryKindMask = 0xF0;  // 0 = select query
}  // namespace object_flags

}  // namespace jet
