#include "jet/write/table_definition.h"

#include <algorithm>
#include <numeric>

#include "utf16/encode.h"
#include "jet/error.h"
#include "jet/sql/error_numbers.h"
#include "jet/table_def.h"
#include "jet/write/data_pages.h"
#include "jet/write/index_definitions.h"
#include "jet/write/index_page.h"
#include "jet/write/table_layout.h"
#include "jet/write/put_bytes.h"
#include "jet/write/row_encoder.h"
#include "jet/write/usage_maps.h"

namespace jet::write {
namespace {

using sql::ColumnKind;

constexpr std::uint32_t kMagicNumber = 1625;  // written by Access in every table and column block
constexpr std::uint8_t kUserTable = 0x4E;
constexpr std::uint8_t kSystemTable = 0x53;
constexpr std::uint32_t kRealIndexMagic = 1923;  // leads every real index block Jet writes
constexpr std::size_t kIndexCountBlock = 12;
constexpr std::size_t kRealIndexBlock = 52;
constexpr std::size_t kLogicalIndexBlock = 28;
constexpr std::size_t kIndexColumnSlots = 10;
constexpr std::uint8_t kAscending = 0x01;
constexpr std::uint8_t kPrimaryKeyIndex = 0x01;
constexpr std::uint8_t kNoCascade = 0x04;  // what Jet writes in both cascade bytes of a plain index
constexpr std::uint8_t kAutoNumberWorks = 0x01;
constexpr std::size_t kTableBlock = 63;
constexpr std::size_t kColumnBlock = 25;
constexpr std::size_t kPageHeader = 8;
constexpr std::size_t kInlineMapRow = 69;  // type, start page, 64 bytes of bits
constexpr std::uint16_t kGeneralSortOrder = 0x0409;

struct Layout {
  std::uint8_t type;
  std::uint16_t length;  // bytes in the row; 0 for long values
  bool fixed;
};

Layout layoutOf(const sql::ColumnType& t) {
  switch (t.kind) {
    case ColumnKind::Boolean: return {0x01, 1, true};
    case ColumnKind::Byte: return {0x02, 1, true};
    case ColumnKind::Integer: return {0x03, 2, true};
    case ColumnKind::Long: return {0x04, 4, true};
    case ColumnKind::Currency: return {0x05, 8, true};
    case ColumnKind::Single: return {0x06, 4, true};
    case ColumnKind::Double: return {0x07, 8, true};
    case ColumnKind::DateTime: return {0x08, 8, true};
    case ColumnKind::Guid: return {0x0F, 16, true};
    case ColumnKind::Binary: return {0x09, t.size, false};
    case ColumnKind::Text: return {0x0A, static_cast<std::uint16_t>(t.size * 2), false};
    case ColumnKind::OleObject: return {0x0B, 0, false};
    case ColumnKind::Memo: return {0x0C, 0, false};
    case ColumnKind::Decimal: return {0x10, 17, false};  // Access keeps NUMERIC variable
  }
  return {0, 0, false};
}

bool isLongValue(ColumnKind k) { return k == ColumnKind::Memo || k == ColumnKind::OleObject; }

std::vector<std::uint8_t> emptyInlineMap() { return std::vector<std::uint8_t>(kInlineMapRow, 0); }

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
  const auto bytes = utf16leBytes(*utf16::utf8ToUtf16(name));
  append16(d, static_cast<std::uint16_t>(bytes.size()));
  d.insert(d.end(), bytes.begin(), bytes.end());
}

// The real index blocks, then the logical ones, then the logical names.
// `maps` and `roots` hold each index's usage map and root page. Index
// numbers follow `indexes`; the logical blocks go in name order, each
// naming its real index, as Jet lists them.
void appendIndexes(std::vector<std::uint8_t>& d, const std::vector<IndexShape>& indexes,
                   const std::vector<std::uint32_t>& maps, const std::vector<std::uint32_t>& roots) {
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    std::vector<std::uint8_t> r(kRealIndexBlock, 0);
    put32(r, 0, kRealIndexMagic);
    for (std::size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
      const bool used = slot < indexes[i].columns.size();
      put16(r, 4 + 3 * slot, used ? indexes[i].columns[slot] : 0xFFFF);
      r[6 + 3 * slot] = used ? kAscending : 0;
    }
    put32(r, 34, maps[i]);
    put32(r, 38, roots[i]);
    r[46] = indexes[i].flags;
    d.insert(d.end(), r.begin(), r.end());
  }
  std::vector<std::size_t> byName(indexes.size());
  std::iota(byName.begin(), byName.end(), std::size_t{0});
  std::sort(byName.begin(), byName.end(),
            [&](std::size_t a, std::size_t b) { return indexes[a].name < indexes[b].name; });
  for (const std::size_t i : byName) {
    std::vector<std::uint8_t> l(kLogicalIndexBlock, 0);
    put32(l, 0, kMagicNumber);
    put32(l, 4, static_cast<std::uint32_t>(i));
    put32(l, 8, static_cast<std::uint32_t>(i));
    put32(l, 13, 0xFFFFFFFF);  // no related index
    l[21] = kNoCascade;
    l[22] = kNoCascade;
    l[23] = indexes[i].primaryKey ? kPrimaryKeyIndex : 0;
    d.insert(d.end(), l.begin(), l.end());
  }
  for (const std::size_t i : byName) appendName(d, indexes[i].name);
}

std::vector<std::uint8_t> definitionBytes(const Header& header, const TableShape& shape,
                                          const std::vector<std::uint32_t>& maps,
                                          const std::vector<std::uint32_t>& roots) {
  const auto& columns = shape.columns;
  const std::size_t indexes = shape.indexes.size();
  std::vector<std::uint8_t> d(kTableBlock + indexes * kIndexCountBlock, 0);
  d[0] = kPageTableDef;
  d[1] = 0x01;
  put32(d, 12, kMagicNumber);
  d[24] = kAutoNumberWorks;
  d[40] = shape.system ? kSystemTable : kUserTable;
  std::uint16_t varColumns = 0;
  for (const auto& c : columns) varColumns += layoutOf(c.type).fixed ? 0 : 1;
  put16(d, 41, static_cast<std::uint16_t>(columns.size()));
  put16(d, 43, varColumns);
  put16(d, 45, static_cast<std::uint16_t>(columns.size()));
  put32(d, 47, static_cast<std::uint32_t>(indexes));
  put32(d, 51, static_cast<std::uint32_t>(indexes));
  put32(d, 55, maps[0]);
  put32(d, 59, maps[1]);

  std::uint16_t fixedOffset = 0, varIndex = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const sql::ColumnType& t = columns[i].type;
    const Layout l = layoutOf(t);
    std::vector<std::uint8_t> c(kColumnBlock, 0);
    c[0] = l.type;
    put32(c, 1, kMagicNumber);
    put16(c, 5, static_cast<std::uint16_t>(i));
    put16(c, 7, varIndex);
    put16(c, 9, static_cast<std::uint16_t>(i));
    if (t.kind == ColumnKind::Decimal) {
      c[11] = t.precision;
      c[12] = t.scale;
    } else {
      put16(c, 11, kGeneralSortOrder);
      if (t.kind == ColumnKind::Text || t.kind == ColumnKind::Memo) c[14] = header.sortOrderVersion;
    }
    c[15] = static_cast<std::uint8_t>(column_flags::kNullable | (l.fixed ? column_flags::kFixed : 0) |
                                      (t.autoNumber ? column_flags::kAutoLong : 0) | shape.extraColumnFlags);
    if (l.fixed) {
      put16(c, 21, fixedOffset);
      if (t.kind != ColumnKind::Boolean) fixedOffset = static_cast<std::uint16_t>(fixedOffset + l.length);
    } else {
      ++varIndex;
    }
    put16(c, 23, l.length);
    d.insert(d.end(), c.begin(), c.end());
  }
  for (const auto& c : columns) appendName(d, c.name);
  std::size_t map = 2;
  const std::vector<std::uint32_t> indexMaps(maps.end() - static_cast<std::ptrdiff_t>(indexes), maps.end());
  appendIndexes(d, shape.indexes, indexMaps, roots);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (!isLongValue(columns[i].type.kind)) continue;
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
    if (u < 0x20 || u == u'.' || u == u'!' || u == u'`' || u == u'[' || u == u']') throw invalidName(name, what);
}

std::uint32_t createTableDefinition(PageStore& store, const Header& header,
                                    const std::vector<sql::ColumnDefinition>& columns) {
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
      std::count_if(columns.begin(), columns.end(), [](const auto& c) { return isLongValue(c.type.kind); }));
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
    const std::size_t n = std::min(d.size() - at, f.pageSize - kPageHeader);
    std::vector<std::uint8_t> page(kPageHeader, 0);
    page[0] = kPageTableDef;
    page[1] = 0x01;
    page.insert(page.end(), d.begin() + static_cast<std::ptrdiff_t>(at), d.begin() + static_cast<std::ptrdiff_t>(at + n));
    pages.push_back(std::move(page));
    at += n;
  }
  std::vector<std::uint32_t> numbers;
  for (auto& p : pages) {
    const std::size_t used = p.size();
    p.resize(f.pageSize, 0);
    put16(p, 2, static_cast<std::uint16_t>(f.pageSize - used - (numbers.empty() ? kPageHeader : 0)));
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
    if (std::find(pages.begin(), pages.end(), p) != pages.end()) throw damaged("a table definition's pages form a loop");
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
