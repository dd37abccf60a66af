// TDEF chain reading and parsing.
#include "jet/table/table_def_reader.h"

#include <algorithm>
#include <unordered_set>

#include "jet/file/code_page.h"
#include "jet/file/header.h"
#include "jet/file/pager.h"
#include "jet/file/text.h"
#include "jet/table/properties.h"

namespace jet {
namespace {

// Access allows 255 columns; deleted ones still take numbers, so leave room.
constexpr std::uint32_t kMaxColumns = 4096;
constexpr std::uint32_t kMaxIndexes = 4096;

}  // namespace

bool isKnownColumnType(std::uint8_t code) {
  return (code >= 0x01 && code <= 0x0C) || code == 0x0F || code == 0x10 || (code >= 0x12 && code <= 0x14);
}

std::vector<std::uint8_t> readTableDefBytes(Pager& pager, const Format& format, std::uint32_t page) {
  std::vector<std::uint8_t> bytes;
  std::unordered_set<std::uint32_t> seen;
  for (std::uint32_t next = page; next != 0;) {
    if (!seen.insert(next).second)
      throw damaged("the definition of table page " + std::to_string(page) + " loops");
    const Page p = pager.page(next);
    const ByteView view(*p);
    if (view[0] != kPageTableDef)
      throw damaged("page " + std::to_string(next) + " is not a table definition");
    const auto from = bytes.empty() ? std::size_t{0} : format.tdefPageHeader;
    bytes.insert(bytes.end(), view.begin() + static_cast<std::ptrdiff_t>(from), view.end());
    next = u32(view, 4);
  }
  return bytes;
}

TableDef parseTableDef(ByteView b, const Header& header, std::uint32_t page) {
  const Format& f = header.format;
  TableDef t;
  t.page = page;
  t.storedRowCount = u32(b, f.tdefRowCount);
  t.tableType = u8(b, f.tdefTableType);
  t.maxColumns = u16(b, f.tdefMaxColumns);
  t.varColumns = u16(b, f.tdefVarColumns);
  const std::uint16_t columnCount = u16(b, f.tdefColumns);
  t.logicalIndexes = u32(b, f.tdefLogicalIndexes);
  t.realIndexes = u32(b, f.tdefRealIndexes);
  t.ownedPagesMap = u32(b, f.tdefOwnedPages);
  t.freePagesMap = u32(b, f.tdefFreePages);
  if (columnCount > kMaxColumns || t.realIndexes > kMaxIndexes || t.logicalIndexes > kMaxIndexes)
    throw damaged("table page " + std::to_string(page) + " declares too many columns or indexes");

  std::size_t pos = f.tdefIndexCounts + t.realIndexes * f.realIndexCountSize;
  t.columns.resize(columnCount);
  for (auto& c : t.columns) {
    const ByteView d = slice(b, pos, f.columnSize, "a column descriptor");
    c.typeCode = d[f.colType];
    c.number = u16(d, f.colNumber);
    c.varIndex = u16(d, f.colVarIndex);
    c.flags = d[f.colFlags];
    if (!f.jet3) c.extFlags = d[f.colExtFlags];
    c.fixedOffset = u16(d, f.colFixedOffset);
    c.length = u16(d, f.colLength);
    if (c.type() == ColumnType::Numeric) {
      c.precision = d[f.colMisc];
      c.scale = d[f.colMisc + 1];
    } else if (c.type() == ColumnType::Complex) {
      c.complexId = u32(d, f.colMisc);
    } else {
      c.sortOrder = u16(d, f.colMisc);
    }
    pos += f.columnSize;
  }
  const CodePage codePage(header.codePage);
  for (auto& c : t.columns) {
    const std::size_t length = f.nameLengthSize == 1 ? u8(b, pos) : u16(b, pos);
    pos += f.nameLengthSize;
    const ByteView name = slice(b, pos, length, "a column name");
    if (f.jet3)
      codePage.appendUtf8Of(name, c.name);
    else
      appendJet4Text(name, c.name);
    pos += length;
  }
  std::stable_sort(t.columns.begin(), t.columns.end(),
                   [](const ColumnDef& a, const ColumnDef& b) { return a.number < b.number; });
  return t;
}

TableDef readTableDef(Pager& pager, const Header& header, std::uint32_t page) {
  const auto bytes = readTableDefBytes(pager, header.format, page);
  return parseTableDef(bytes, header, page);
}

}  // namespace jet

namespace jet {

void applyColumnProperties(TableDef& table, ByteView properties, const Header& header) {
  if (properties.empty()) return;
  PropertyBlocks blocks;
  try {
    blocks = parseProperties(properties, header);
  } catch (const Error&) {
    return;  // the properties only refine the definition; it reads without them
  }
  for (auto& column : table.columns) {
    if (!column.calculated()) continue;
    const auto block = blocks.find(column.name);
    if (block == blocks.end()) continue;
    const auto result = block->second.find("ResultType");
    if (result == block->second.end() || result->second.value.empty()) continue;
    const std::uint8_t code = result->second.value[0];
    if (isKnownColumnType(code)) column.resultTypeCode = code;
  }
}

}  // namespace jet
