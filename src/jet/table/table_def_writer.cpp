#include "jet/table/table_def_writer.h"

#include <algorithm>
#include <numeric>

#include "jet/error.h"
#include "jet/error_numbers.h"
#include "jet/file/put_bytes.h"
#include "jet/page/data_page_writer.h"
#include "jet/page/index_page.h"
#include "jet/table/index_definitions.h"
#include "jet/table/table_def_reader.h"
#include "jet/table/table_layout.h"
#include "jet/usage_map/usage_map_writer.h"
#include "utf16/encode.h"

namespace jet::write {
namespace {

constexpr std::uint32_t kMagicNumber = 1625;     // written by Access in every table and column block
constexpr std::uint32_t kRealIndexMagic = 1923;  // leads every real index block Jet writes
constexpr std::uint8_t kNoCascade = 0x04;        // what Jet writes in both cascade bytes of a plain index
constexpr std::uint8_t kAutoNumberWorks = 0x01;

struct Layout {
  std::uint8_t type;
  std::uint16_t length;  // bytes in the row; 0 for long values
  bool fixed;
};

Layout layoutOf(const NewColumn& c) {
  switch (c.type) {
    case ColumnType::Boolean: return {0x01, 1, true};
    case ColumnType::Byte: return {0x02, 1, true};
    case ColumnType::Int16: return {0x03, 2, true};
    case ColumnType::Int32: return {0x04, 4, true};
    case ColumnType::Currency: return {0x05, 8, true};
    case ColumnType::Single: return {0x06, 4, true};
    case ColumnType::Double: return {0x07, 8, true};
    case ColumnType::DateTime: return {0x08, 8, true};
    case ColumnType::Guid: return {0x0F, 16, true};
    case ColumnType::Binary: return {0x09, c.size, false};
    case ColumnType::Text: return {0x0A, static_cast<std::uint16_t>(c.size * 2), false};
    case ColumnType::Ole: return {0x0B, 0, false};
    case ColumnType::Memo: return {0x0C, 0, false};
    case ColumnType::Numeric: return {0x10, 17, false};  // Access keeps NUMERIC variable
    default: return {0, 0, false};
  }
}

bool isLongValue(ColumnType t) {
  return t == ColumnType::Memo || t == ColumnType::Ole;
}

std::vector<std::uint8_t> emptyInlineMap() {
  return std::vector<std::uint8_t>(kInlineMapHeader + kInlineMapBitmapBytes, 0);
}

// The new table's usage maps - owned pages, pages with free space, then
// two per long-value column - as empty inline maps on as many new pages as
// they need. Returns their row pointers in that order.
std::vector<std::uint32_t> createMaps(PageStore& store, const Format& f, std::size_t count) {
  std::vector<std::uint32_t> pointers;
  const auto row = emptyInlineMap();
  while (pointers.size() < count) {
    std::vector<std::uint8_t> page = emptyDataPage(f, 0);
    std::vector<std::uint8_t> rows;
    while (pointers.size() + rows.size() < count && roomForRow(page, f) >= row.size())
      rows.push_back(addRow(page, f, row));
    const std::uint32_t number = allocatePage(store, f, std::move(page));
    for (std::uint8_t r : rows) pointers.push_back(rowPointer(number, r));
  }
  return pointers;
}

void appendName(std::vector<std::uint8_t>& d, const std::string& name) {
  std::vector<std::uint8_t> bytes;
  utf16::appendAsUtf16le(bytes, *utf16::utf8ToUtf16(name));
  append16(d, static_cast<std::uint16_t>(bytes.size()));
  d.insert(d.end(), bytes.begin(), bytes.end());
}

// The real index blocks, then the logical ones, then the logical names.
// `maps` and `roots` hold each index's usage map and root page. Index
// numbers follow `indexes`; the logical blocks go in name order, each
// naming its real index, as Jet lists them.
void appendIndexes(std::vector<std::uint8_t>& d, const Format& f, const std::vector<IndexShape>& indexes,
                   const std::vector<std::uint32_t>& maps, const std::vector<std::uint32_t>& roots) {
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    std::vector<std::uint8_t> r(f.realIndexSize, 0);
    put32(r, 0, kRealIndexMagic);
    for (std::size_t slot = 0; slot < real_index::kColumnSlots; ++slot) {
      const bool used = slot < indexes[i].columns.size();
      const std::size_t column = real_index::kFirstColumnSlot + real_index::kColumnSlotSize * slot;
      put16(r, column, used ? indexes[i].columns[slot] : real_index::kNoColumn);
      r[column + real_index::kColumnOrder] = used ? real_index::kAscending : 0;
    }
    put32(r, real_index::kUsageMap, maps[i]);
    put32(r, real_index::kRoot, roots[i]);
    r[real_index::kFlags] = indexes[i].flags;
    d.insert(d.end(), r.begin(), r.end());
  }
  std::vector<std::size_t> byName(indexes.size());
  std::iota(byName.begin(), byName.end(), std::size_t{0});
  std::sort(byName.begin(), byName.end(),
            [&](std::size_t a, std::size_t b) { return indexes[a].name < indexes[b].name; });
  for (const std::size_t i : byName) {
    std::vector<std::uint8_t> l(f.logicalIndexSize, 0);
    put32(l, 0, kMagicNumber);
    put32(l, logical_index::kNumber, static_cast<std::uint32_t>(i));
    put32(l, logical_index::kRealIndex, static_cast<std::uint32_t>(i));
    put32(l, logical_index::kRelatedIndex, logical_index::kNoIndex);
    l[21] = kNoCascade;
    l[22] = kNoCascade;
    l[logical_index::kKind] = indexes[i].primaryKey ? logical_index::kPrimaryKey : 0;
    d.insert(d.end(), l.begin(), l.end());
  }
  for (const std::size_t i : byName) appendName(d, indexes[i].name);
}

std::vector<std::uint8_t> definitionBytes(const Header& header, const TableShape& shape,
                                          const std::vector<std::uint32_t>& maps,
                                          const std::vector<std::uint32_t>& roots) {
  const Format& f = header.format;
  const auto& columns = shape.columns;
  const std::size_t indexes = shape.indexes.size();
  std::vector<std::uint8_t> d(f.tdefIndexCounts + indexes * f.realIndexCountSize, 0);
  d[0] = kPageTableDef;
  d[1] = kPageMark;
  put32(d, 12, kMagicNumber);
  d[24] = kAutoNumberWorks;
  d[f.tdefTableType] = shape.system ? table_type::kSystem : table_type::kUser;
  std::uint16_t varColumns = 0;
  for (const auto& c : columns) varColumns += layoutOf(c).fixed ? 0 : 1;
  put16(d, f.tdefMaxColumns, static_cast<std::uint16_t>(columns.size()));
  put16(d, f.tdefVarColumns, varColumns);
  put16(d, f.tdefColumns, static_cast<std::uint16_t>(columns.size()));
  put32(d, f.tdefLogicalIndexes, static_cast<std::uint32_t>(indexes));
  put32(d, f.tdefRealIndexes, static_cast<std::uint32_t>(indexes));
  put32(d, f.tdefOwnedPages, maps[0]);
  put32(d, f.tdefFreePages, maps[1]);

  std::uint16_t fixedOffset = 0, varIndex = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const NewColumn& t = columns[i];
    const Layout l = layoutOf(t);
    std::vector<std::uint8_t> c(f.columnSize, 0);
    c[f.colType] = l.type;
    put32(c, 1, kMagicNumber);
    put16(c, f.colNumber, static_cast<std::uint16_t>(i));
    put16(c, f.colVarIndex, varIndex);
    put16(c, 9, static_cast<std::uint16_t>(i));
    if (t.type == ColumnType::Numeric) {
      c[f.colMisc] = t.precision;
      c[f.colMisc + 1] = t.scale;
    } else {
      put16(c, f.colMisc, kGeneralSortOrder);
      if (t.type == ColumnType::Text || t.type == ColumnType::Memo) c[14] = header.sortOrderVersion;
    }
    c[f.colFlags] =
        static_cast<std::uint8_t>(column_flags::kNullable | (l.fixed ? column_flags::kFixed : 0) |
                                  (t.autoNumber ? column_flags::kAutoLong : 0) | shape.extraColumnFlags);
    if (l.fixed) {
      put16(c, f.colFixedOffset, fixedOffset);
      if (t.type != ColumnType::Boolean) fixedOffset = static_cast<std::uint16_t>(fixedOffset + l.length);
    } else {
      ++varIndex;
    }
    put16(c, f.colLength, l.length);
    d.insert(d.end(), c.begin(), c.end());
  }
  for (const auto& c : columns) appendName(d, c.name);
  std::size_t map = 2;
  const std::vector<std::uint32_t> indexMaps(maps.end() - static_cast<std::ptrdiff_t>(indexes), maps.end());
  appendIndexes(d, f, shape.indexes, indexMaps, roots);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!isLongValue(columns[i].type)) continue;
    append16(d, static_cast<std::uint16_t>(i));
    append32(d, maps[map++]);
    append32(d, maps[map++]);
  }
  append16(d, 0xFFFF);
  put32(d, 8, static_cast<std::uint32_t>(d.size()));
  return d;
}

Error invalidName(const std::string& name, const char* what) {
  return Error(errc::kSyntaxError, "'" + name + "' is not a valid " + what +
                                       " name. Make sure that it does not include invalid characters "
                                       "or punctuation and that it is not too long.");
}

}  // namespace

void checkObjectName(const std::string& name, const char* what) {
  const auto units = utf16::utf8ToUtf16(name);
  if (!units || units->empty() || units->size() > kMaxNameLength || units->front() == u' ')
    throw invalidName(name, what);
  for (char16_t u : *units)
    if (u < 0x20 || u == u'.' || u == u'!' || u == u'`' || u == u'[' || u == u']')
      throw invalidName(name, what);
}

std::uint32_t createTableDefinition(PageStore& store, const Header& header,
                                    const std::vector<NewColumn>& columns) {
  return createTableDefinition(store, header, TableShape{columns, {}, false, 0}, 0);
}

std::uint32_t createTableDefinition(PageStore& store, const Header& header, const TableShape& shape,
                                    std::uint32_t firstPage) {
  const Format& f = header.format;
  const auto& columns = shape.columns;
  // Index pages name their table, so its first page is known before them.
  if (firstPage == 0 && !shape.indexes.empty())
    firstPage = allocatePage(store, f, std::vector<std::uint8_t>(f.pageSize, 0));
  const std::size_t longValues = static_cast<std::size_t>(
      std::count_if(columns.begin(), columns.end(), [](const auto& c) { return isLongValue(c.type); }));
  const std::vector<std::uint32_t> maps = createMaps(store, f, 2 + 2 * longValues + shape.indexes.size());
  std::vector<std::uint32_t> roots;
  for (std::size_t i = 0; i < shape.indexes.size(); ++i) {
    IndexPage root;
    root.tdefPage = firstPage;
    roots.push_back(allocatePage(store, f, encodeIndexPage(root, f)));
    setMapPage(store, f, maps[2 + 2 * longValues + i], roots.back(), true);
  }
  std::vector<std::uint8_t> d = definitionBytes(header, shape, maps, roots);

  // The first page takes a whole page of the definition; each further page
  // its own 8-byte header and the next part.
  std::vector<std::vector<std::uint8_t>> pages;
  std::size_t at = std::min(d.size(), f.pageSize);
  pages.emplace_back(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(at));
  while (at < d.size()) {
    const std::size_t n = std::min(d.size() - at, f.pageSize - f.tdefPageHeader);
    std::vector<std::uint8_t> page(f.tdefPageHeader, 0);
    page[0] = kPageTableDef;
    page[1] = kPageMark;
    page.insert(page.end(), d.begin() + static_cast<std::ptrdiff_t>(at),
                d.begin() + static_cast<std::ptrdiff_t>(at + n));
    pages.push_back(std::move(page));
    at += n;
  }
  std::vector<std::uint32_t> numbers;
  for (auto& p : pages) {
    const std::size_t used = p.size();
    p.resize(f.pageSize, 0);
    put16(p, 2, static_cast<std::uint16_t>(f.pageSize - used - (numbers.empty() ? f.tdefPageHeader : 0)));
    if (numbers.empty() && firstPage != 0) {
      store.edit(firstPage) = std::move(p);
      numbers.push_back(firstPage);
    } else {
      numbers.push_back(allocatePage(store, f, std::move(p)));
    }
  }
  for (std::size_t i = 0; i + 1 < numbers.size(); ++i) put32(store.edit(numbers[i]), 4, numbers[i + 1]);
  return numbers.front();
}

void releaseTablePages(PageStore& store, const Header& header, const TableDef& def) {
  const Format& f = header.format;
  std::vector<std::uint32_t> pages;
  Pager pager(store.snapshot(), f.pageSize, 0);
  const auto definition = readTableDefBytes(pager, f, def.page);
  for (std::uint32_t p = def.page; p != 0; p = u32(store.read(p), 4)) {
    if (std::find(pages.begin(), pages.end(), p) != pages.end())
      throw damaged("a table definition's pages form a loop");
    pages.push_back(p);
  }
  std::vector<std::uint32_t> mapRows{def.freePagesMap};
  auto addMap = [&](std::uint32_t mapRow) {
    if (mapRow == 0) return;
    const auto listed = mapPages(store, f, mapRow);
    pages.insert(pages.end(), listed.begin(), listed.end());
    mapRows.push_back(mapRow);
  };
  addMap(def.ownedPagesMap);
  for (const auto& [column, maps] : readLongValueMaps(definition, def, f)) {
    addMap(maps.owned);
    mapRows.push_back(maps.free);
  }
  for (const RealIndex& index : readRealIndexes(definition, def, f)) addMap(index.location.usageMap);
  std::sort(pages.begin(), pages.end());
  pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
  for (const std::uint32_t p : pages) markPageFree(store, f, p);
  for (const std::uint32_t row : mapRows)
    if (row != 0) releaseMap(store, f, row);
}

}  // namespace jet::write
