// Index pages (Jet4): leaves (0x04) hold one entry per row - the key
// followed by the row's page (3 bytes, big-endian) and row number; nodes
// (0x03) hold, per child, the child's last entry followed by the child's
// page number (4 bytes, big-endian), and name their rightmost child as
// "tail" instead. Leaves of one level are chained by prev/next. A bitmask
// marks where each entry ends; entries may share a leading prefix with
// the page's first entry, which is stored only once. This writer stores
// pages without shared prefixes, which every reader takes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "jet/file/bytes.h"
#include "jet/file/format.h"

namespace jet::write {

using Entry = std::vector<std::uint8_t>;

struct IndexPage {
  bool leaf = true;
  std::uint32_t tdefPage = 0;
  std::uint32_t prev = 0;
  std::uint32_t next = 0;
  std::uint32_t tail = 0;      // nodes: the rightmost child
  std::vector<Entry> entries;  // whole entries, prefixes put back
};

inline constexpr std::size_t kChildPointerSize = 4;

IndexPage decodeIndexPage(ByteView page, const Format& format);
std::vector<std::uint8_t> encodeIndexPage(const IndexPage& page, const Format& format);

// Whether `entries` fit one page.
bool fitsIndexPage(const std::vector<Entry>& entries, const Format& format);

// A node entry's child page; its entry without the child pointer.
std::uint32_t childOf(const Entry& nodeEntry);
Entry withoutChild(const Entry& nodeEntry);
Entry nodeEntry(const Entry& lastEntryOfChild, std::uint32_t child);

}  // namespace jet::write
