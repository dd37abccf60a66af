// Changing usage maps: the bitmaps that list a table's pages (owned pages,
// pages with free space, a long-value column's pages) and the database's
// global map on page 1, row 0, in which a set bit means "free".
//
// A map row never changes its length. An inline map (type 0) that must
// name a page outside its window moves the window when it names no page
// yet, and otherwise becomes a reference map (type 1) whose bitmaps live on
// pages of type 0x05. The global map's window slides forward to the end of
// the file; pages that fall out of it count as used, as Access treats them.
//
// New pages take the lowest page the global map calls free, and only past
// those the end of the file, so that dropping and creating tables reuses
// the dropped tables' pages instead of growing the file.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/file/format.h"
#include "jet/journal/page_store.h"
#include "jet/usage_map/usage_map_format.h"

namespace jet::write {

// Where a row lies on its page.
struct RowLocation {
  std::uint32_t page = 0;
  std::size_t start = 0;
  std::size_t end = 0;
};
RowLocation locateRow(const PageStore& store, const Format& format, std::uint32_t rowPointer);

// Places `row` on data page `page`, which must have room, naming the bytes
// it changes to the store; returns the new row's pointer.
std::uint32_t addRowToPage(PageStore& store, const Format& format, std::uint32_t page, ByteView row);

// Adds `page` to, or removes it from, the table map stored at `mapRow`.
void setMapPage(PageStore& store, const Format& format, std::uint32_t mapRow, std::uint32_t page,
                bool present);

// The pages a table map lists, ascending.
std::vector<std::uint32_t> mapPages(const PageStore& store, const Format& format, std::uint32_t mapRow);

// The global map: a page taken into use, or given back.
void markPageUsed(PageStore& store, const Format& format, std::uint32_t page);
void markPageFree(PageStore& store, const Format& format, std::uint32_t page);

// A page holding `bytes`, taken into use in the global map: a free page of
// the file, or a new one at its end.
std::uint32_t allocatePage(PageStore& store, const Format& format, std::vector<std::uint8_t> bytes);

// Deletes the map row at `mapRow` of a table being dropped, giving back a
// reference map's bitmap pages and, once no live row is left on it, the
// page that held the row (map pages belong to no table).
void releaseMap(PageStore& store, const Format& format, std::uint32_t mapRow);

}  // namespace jet::write
