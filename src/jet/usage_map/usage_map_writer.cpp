#include "jet/usage_map/usage_map_writer.h"

#include <algorithm>

#include "jet/error.h"
#include "jet/file/bytes.h"
#include "jet/file/put_bytes.h"
#include "jet/page/data_page_format.h"
#include "jet/page/data_page_writer.h"
#include "jet/usage_map/usage_map_reader.h"

namespace jet::write {
namespace {

constexpr std::uint32_t kGlobalMapRow = kGlobalMapPage << 8;  // row 0
constexpr std::uint8_t kUsageMapPageHeader[kBitmapPageHeader] = {kPageUsageMap, kPageMark, 0x00, 0x00};

bool bit(std::span<const std::uint8_t> bitmap, std::uint64_t i) {
  return (bitmap[i / 8] >> (i % 8)) & 1;
}
void setBit(std::span<std::uint8_t> bitmap, std::uint64_t i, bool on) {
  const auto mask = static_cast<std::uint8_t>(1u << (i % 8));
  bitmap[i / 8] = static_cast<std::uint8_t>(on ? bitmap[i / 8] | mask : bitmap[i / 8] & ~mask);
}

std::uint32_t newBitmapPage(PageStore& store, const Format& f) {
  std::vector<std::uint8_t> bytes(f.pageSize, 0);
  std::copy(std::begin(kUsageMapPageHeader), std::end(kUsageMapPageHeader), bytes.begin());
  return allocatePage(store, f, std::move(bytes));
}

std::span<std::uint8_t> rowBytes(PageStore& store, const RowLocation& at) {
  auto& page = store.edit(at.page);
  return std::span(page).subspan(at.start, at.end - at.start);
}

// Turns an inline map into a reference map naming `pages`.
void convertToReference(PageStore& store, const Format& f, const RowLocation& at,
                        const std::vector<std::uint32_t>& pages) {
  const std::size_t slots = (at.end - at.start - 1) / 4;
  std::vector<std::uint32_t> bitmapPages(slots, 0);
  for (std::uint32_t p : pages) {
    const std::size_t slot = p / pagesPerBitmapPage(f);
    if (slot >= slots)
      throw Error(errc::kFailure,
                  "The table has outgrown its usage map: page " + std::to_string(p) + " cannot be recorded.");
    if (bitmapPages[slot] == 0) bitmapPages[slot] = newBitmapPage(store, f);
    setBit(std::span(store.edit(bitmapPages[slot])).subspan(kBitmapPageHeader), p % pagesPerBitmapPage(f),
           true);
  }
  auto row = rowBytes(store, at);
  std::fill(row.begin(), row.end(), 0);
  row[0] = static_cast<std::uint8_t>(UsageMapType::Reference);
  for (std::size_t i = 0; i < slots; ++i) put32(row, 1 + 4 * i, bitmapPages[i]);
}

void setInline(PageStore& store, const Format& f, const RowLocation& at, std::uint32_t page, bool present) {
  auto row = rowBytes(store, at);
  const std::uint32_t start = u32(row, 1);
  const std::uint64_t capacity = (row.size() - kInlineMapHeader) * 8;
  auto bitmap = row.subspan(kInlineMapHeader);
  if (page >= start && page - start < capacity) {
    setBit(bitmap, page - start, present);
    return;
  }
  if (!present) return;
  if (std::all_of(bitmap.begin(), bitmap.end(), [](std::uint8_t b) { return b == 0; })) {
    put32(row, 1, page & ~7u);
    setBit(bitmap, page & 7u, true);
    return;
  }
  std::vector<std::uint32_t> pages;
  for (std::uint64_t i = 0; i < capacity; ++i)
    if (bit(bitmap, i)) pages.push_back(static_cast<std::uint32_t>(start + i));
  pages.push_back(page);
  convertToReference(store, f, at, pages);
}

void setReference(PageStore& store, const Format& f, const RowLocation& at, std::uint32_t page,
                  bool present) {
  const std::size_t slot = page / pagesPerBitmapPage(f);
  const std::size_t slots = (at.end - at.start - 1) / 4;
  if (slot >= slots) {
    if (!present) return;
    throw Error(errc::kFailure, "The table has outgrown its usage map: page " + std::to_string(page) +
                                    " cannot be recorded.");
  }
  std::uint32_t bitmapPage = u32(store.read(at.page), at.start + 1 + 4 * slot);
  if (bitmapPage == 0) {
    if (!present) return;
    bitmapPage = newBitmapPage(store, f);
    put32(rowBytes(store, at), 1 + 4 * slot, bitmapPage);
  }
  setBit(std::span(store.edit(bitmapPage)).subspan(kBitmapPageHeader), page % pagesPerBitmapPage(f), present);
}

// The global map's bit says "free". A page past its window that comes into
// use moves the window so that it starts at that page's byte; pages left
// behind count as used, pages past the end of the file as free.
void setGlobal(PageStore& store, const Format& f, std::uint32_t page, bool free) {
  const RowLocation at = locateRow(store, f, kGlobalMapRow);
  auto row = rowBytes(store, at);
  if (row[0] != static_cast<std::uint8_t>(UsageMapType::Inline))
    throw Error(errc::kFailure, "The database's global usage map has a form this engine does not write.");
  const std::uint32_t start = u32(row, 1);
  const std::uint64_t capacity = (row.size() - kInlineMapHeader) * 8;
  auto bitmap = row.subspan(kInlineMapHeader);
  if (page >= start && page - start < capacity) {
    setBit(bitmap, page - start, free);
    return;
  }
  if (free || page < start) return;
  const std::uint32_t newStart = page & ~7u;
  std::vector<std::uint8_t> moved(bitmap.size(), 0);
  for (std::uint64_t i = 0; i < capacity; ++i) {
    const std::uint64_t p = newStart + i;
    const bool wasFree = p >= start && p - start < capacity && bit(bitmap, p - start);
    setBit(moved, i, p > page || wasFree);
  }
  setBit(moved, page - newStart, false);
  std::copy(moved.begin(), moved.end(), bitmap.begin());
  put32(row, 1, newStart);
}

// The lowest page of the file the global map calls free; 0 when none is.
std::uint32_t firstFreePage(PageStore& store, const Format& f) {
  const RowLocation at = locateRow(store, f, kGlobalMapRow);
  const auto row = std::span<const std::uint8_t>(store.read(at.page)).subspan(at.start, at.end - at.start);
  if (row[0] != static_cast<std::uint8_t>(UsageMapType::Inline)) return 0;
  const std::uint32_t start = u32(row, 1);
  const auto bitmap = row.subspan(kInlineMapHeader);
  for (std::size_t byte = 0; byte < bitmap.size(); ++byte) {
    if (bitmap[byte] == 0) continue;  // eight pages in use
    for (unsigned b = 0; b < 8; ++b) {
      const std::uint64_t page = start + byte * 8 + b;
      if (page >= store.pageCount()) return 0;
      if (bit(bitmap, byte * 8 + b) && page > kGlobalMapPage) return static_cast<std::uint32_t>(page);
    }
  }
  return 0;
}

bool hasLiveRows(ByteView page, const Format& f) {
  for (unsigned r = 0; r < dataRowCount(page, f); ++r)
    if (!(rowSlot(page, f, r) & row_slot::kDeleted)) return true;
  return false;
}

}  // namespace

RowLocation locateRow(const PageStore& store, const Format& format, std::uint32_t rowPointer) {
  const RowPointer p = RowPointer::decode(rowPointer);
  const auto& page = store.read(p.page);
  const ByteView view(page);
  if (view[0] != kPageData || p.row >= dataRowCount(view, format))
    throw damaged("a row pointer names a missing row");
  const RowBounds r = rowBounds(view, format, p.row);
  return {p.page, r.start, r.end};
}

std::uint32_t addRowToPage(PageStore& store, const Format& format, std::uint32_t page, ByteView row) {
  auto& bytes = store.editRanges(page);
  const std::uint8_t number = addRow(bytes, format, row);
  for (const PageBytes& changed : bytesOfAddedRow(bytes, format, number))
    store.changed(page, changed.offset, changed.length);
  return rowPointer(page, number);
}

void setMapPage(PageStore& store, const Format& format, std::uint32_t mapRow, std::uint32_t page,
                bool present) {
  const RowLocation at = locateRow(store, format, mapRow);
  const std::uint8_t type = store.read(at.page)[at.start];
  if (type == static_cast<std::uint8_t>(UsageMapType::Inline))
    setInline(store, format, at, page, present);
  else if (type == static_cast<std::uint8_t>(UsageMapType::Reference))
    setReference(store, format, at, page, present);
  else
    throw damaged("a usage map has an unknown type");
}

std::vector<std::uint32_t> mapPages(const PageStore& store, const Format& format, std::uint32_t mapRow) {
  Pager pager(store.snapshot(), format.pageSize, 0);
  return readUsageMap(pager, format, mapRow);
}

void markPageUsed(PageStore& store, const Format& format, std::uint32_t page) {
  setGlobal(store, format, page, false);
}

void markPageFree(PageStore& store, const Format& format, std::uint32_t page) {
  setGlobal(store, format, page, true);
}

std::uint32_t allocatePage(PageStore& store, const Format& format, std::vector<std::uint8_t> bytes) {
  std::uint32_t page = firstFreePage(store, format);
  if (page != 0)
    store.edit(page) = std::move(bytes);
  else
    page = store.append(std::move(bytes));
  markPageUsed(store, format, page);
  return page;
}

void releaseMap(PageStore& store, const Format& format, std::uint32_t mapRow) {
  const RowLocation at = locateRow(store, format, mapRow);
  const auto& holder = store.read(at.page);
  if (holder[at.start] == static_cast<std::uint8_t>(UsageMapType::Reference))
    for (std::size_t slot = at.start + 1; slot + 4 <= at.end; slot += 4)
      if (const std::uint32_t bitmapPage = u32(holder, slot); bitmapPage != 0)
        markPageFree(store, format, bitmapPage);
  const RowPointer p = RowPointer::decode(mapRow);
  markRowDeleted(store.edit(p.page), format, p.row);
  const auto& page = store.read(p.page);
  if (u32(page, kDataOwnerOffset) == 0 && !hasLiveRows(page, format)) markPageFree(store, format, p.page);
}

}  // namespace jet::write
