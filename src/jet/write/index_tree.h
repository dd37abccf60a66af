// Adding and removing entries of one index, a B-tree of index pages. A
// full page splits in two; a root that splits stays where the table
// definition points and becomes a node over the two halves. Removal leaves
// pages in place (Access compacts them); a node's key may then be larger
// than what its child still holds, which still routes searches right.
#pragma once

#include <cstdint>

#include "jet/format.h"
#include "jet/write/index_page.h"
#include "jet/write/page_store.h"

namespace jet::write {

struct IndexLocation {
  std::uint32_t tdefPage = 0;
  std::uint32_t root = 0;
  std::uint32_t usageMap = 0;  // row pointer of the map of the index's pages
};

inline constexpr std::size_t kRowPointerSize = 4;

// `entry` is the key followed by the row pointer. With `unique`, a second
// entry with the same key raises the duplicate-value error.
void insertIndexEntry(PageStore& store, const Format& format, const IndexLocation& index,
                      const Entry& entry, bool unique);

// Removes `entry`; false when the index does not hold it.
bool removeIndexEntry(PageStore& store, const Format& format, const IndexLocation& index,
                      const Entry& entry);

// A leaf entry's row pointer in the stored order: page (3 bytes,
// big-endian) and row.
void appendEntryRowPointer(Entry& entry, std::uint32_t rowPointer);

}  // namespace jet::write
