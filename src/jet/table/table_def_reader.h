// Table definitions (TDEF pages) as plain structs. A definition starts on a
// page of type 0x02 and may continue on further 0x02 pages, each naming the
// next; the bytes after each continuation page's header are appended to
// the first page's. Columns are returned in column-number order, the order
// in which Access shows them; numbers of deleted columns are simply absent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/file/bytes.h"
#include "jet/file/format.h"
#include "jet/table/table_def_format.h"

namespace jet {

class Pager;
struct Header;

struct ColumnDef {
  std::string name;
  std::uint8_t typeCode = 0;
  std::uint16_t number = 0;       // bit in the row's null mask
  std::uint16_t varIndex = 0;     // slot in the row's variable-offset table
  std::uint16_t fixedOffset = 0;  // within the row's fixed area
  std::uint16_t length = 0;
  std::uint8_t flags = 0;
  std::uint8_t extFlags = 0;
  std::uint8_t precision = 0;   // NUMERIC only
  std::uint8_t scale = 0;       // NUMERIC only
  std::uint16_t sortOrder = 0;  // text columns
  std::uint32_t complexId = 0;  // complex columns (ACE)
  // Calculated columns: the type of their values, from the ResultType
  // property (Access may store a Currency result in a Double column);
  // 0 when unknown.
  std::uint8_t resultTypeCode = 0;

  ColumnType type() const { return static_cast<ColumnType>(typeCode); }
  // The type the column's values have: the result type of a calculated
  // column (a Text column of length 0 holds Memo results), else its type.
  std::uint8_t valueTypeCode() const {
    if (!calculated()) return typeCode;
    if (resultTypeCode != 0) return resultTypeCode;
    return type() == ColumnType::Text && length == 0 ? static_cast<std::uint8_t>(ColumnType::Memo) : typeCode;
  }
  ColumnType valueType() const { return static_cast<ColumnType>(valueTypeCode()); }
  bool fixed() const { return (flags & column_flags::kFixed) != 0; }
  bool calculated() const {
    return (extFlags & column_ext_flags::kCalculated) == column_ext_flags::kCalculated;
  }
};

struct TableDef {
  std::uint32_t page = 0;            // first TDEF page: the table's identity
  std::uint32_t storedRowCount = 0;  // not trusted: rows are counted by scanning
  std::uint8_t tableType = 0;        // table_type::kUser or kSystem
  std::uint16_t maxColumns = 0;      // including deleted ones
  std::uint16_t varColumns = 0;
  std::uint32_t logicalIndexes = 0;
  std::uint32_t realIndexes = 0;
  std::uint32_t ownedPagesMap = 0;  // row pointer to the owned-pages usage map
  std::uint32_t freePagesMap = 0;   // row pointer to the free-space usage map
  std::vector<ColumnDef> columns;   // by column number
};

// Collects the definition bytes of the TDEF chain starting at `page`.
std::vector<std::uint8_t> readTableDefBytes(Pager& pager, const Format& format, std::uint32_t page);

// Parses the joined definition bytes.
TableDef parseTableDef(ByteView bytes, const Header& header, std::uint32_t page);

TableDef readTableDef(Pager& pager, const Header& header, std::uint32_t page);

// Takes the calculated columns' result types from the table's properties
// (the LvProp blob of its catalog row); damaged properties are ignored.
void applyColumnProperties(TableDef& table, ByteView properties, const Header& header);

}  // namespace jet
