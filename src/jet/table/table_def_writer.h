// The definition pages (TDEF) and usage maps of a new table, laid out as
// Access lays them out (Jet4 and ACE): a 63-byte table block, one 25-byte
// descriptor per column, the column names (UTF-16LE behind a byte count),
// for each Memo/OLE column its pair of usage maps, and an end mark. Fixed
// columns get consecutive offsets in the row's fixed area; variable ones
// consecutive slots. New tables have no indexes, as Jet's CREATE TABLE
// without constraints makes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/file/header.h"
#include "jet/journal/page_store.h"
#include "jet/table/new_column.h"
#include "jet/table/table_def_reader.h"

namespace jet::write {

inline constexpr std::size_t kMaxColumns = 255;
inline constexpr std::size_t kMaxNameLength = 64;

// Writes the definition and maps of a table with `columns` (checked
// already) and returns its first TDEF page.
std::uint32_t createTableDefinition(PageStore& store, const Header& header,
                                    const std::vector<NewColumn>& columns);

// An index of a table the engine itself lays out (the system tables of a
// new database): one real index with one logical index of the same name.
struct IndexShape {
  std::string name;
  std::vector<std::uint16_t> columns;  // column numbers, ascending keys
  std::uint8_t flags = 0;              // real index flags (unique, ignore nulls, ...)
  bool primaryKey = false;
};

struct TableShape {
  std::vector<NewColumn> columns;
  std::vector<IndexShape> indexes;
  bool system = false;
  std::uint8_t extraColumnFlags = 0;  // added to every column's flags
};

// As above, with indexes (each with an empty root leaf and its usage
// map); `firstPage`, when not 0, is a page already allocated that takes
// the first definition page.
std::uint32_t createTableDefinition(PageStore& store, const Header& header, const TableShape& shape,
                                    std::uint32_t firstPage);

// Gives every page of the table back to the global usage map: its
// definition pages, data pages, long-value pages and index pages, and
// deletes its usage maps.
void releaseTablePages(PageStore& store, const Header& header, const TableDef& def);

// Throws Jet's error for a name Access does not accept for a table or
// field: empty, longer than 64 characters, starting with a blank, or
// holding . ! ` [ ] or control characters.
void checkObjectName(const std::string& name, const char* what);

}  // namespace jet::write
