// Adding and removing entries of one index, a B-tree of index pages. A
// full page splits in two; a root that splits stays where the table
// definition points and becomes a node over the two halves. Every node
// entry is the last entry of its child, also after removals: a removal
// that takes a page's last entry rewrites the entries above it, and a page
// it empties leaves the tree (its neighbours linked to each other, the
// page freed); the root stays, an empty leaf at worst.
#pragma once

#include <cstdint>

#include "jet/file/format.h"
#include "jet/journal/page_store.h"
#include "jet/page/index_page.h"
#include "jet/table/index_definitions.h"

namespace jet::write {

inline constexpr std::size_t kRowPointerSize = 4;

// `entry` is the key followed by the row pointer. With `unique`, a second
// entry with the same key raises the duplicate-value error.
void insertIndexEntry(PageStore& store, const Format& format, const IndexLocation& index, const Entry& entry,
                      bool unique);

// Removes `entry`; false when the index does not hold it.
bool removeIndexEntry(PageStore& store, const Format& format, const IndexLocation& index, const Entry& entry);

// Whether the index holds an entry whose key, before its row pointer, is
// `key` - whichever row it names.
bool indexHoldsKey(const PageStore& store, const Format& format, const IndexLocation& index,
                   const Entry& key);

// A leaf entry's row pointer in the stored order: page (3 bytes,
// big-endian) and row.
void appendEntryRowPointer(Entry& entry, std::uint32_t rowPointer);

}  // namespace jet::write
