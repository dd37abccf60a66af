// Adding rows to data pages (Jet4 layout). Rows are stacked from the end
// of the page downwards; each takes its bytes plus a two-byte slot, and a
// page holds at most 255 rows. The free-space field counts the bytes
// between the slot table and the lowest row.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "jet/file/bytes.h"
#include "jet/file/format.h"

namespace jet::write {

inline constexpr unsigned kMaxRowsPerPage = 255;

// An empty data page of the table whose definition starts on `tdefPage`.
std::vector<std::uint8_t> emptyDataPage(const Format& format, std::uint32_t tdefPage);
// An empty page for long values (owner field "LVAL").
std::vector<std::uint8_t> emptyLongValuePage(const Format& format);

// The largest row that still fits on `page` (0 when it holds 255 rows).
std::size_t roomForRow(ByteView page, const Format& format);
// The largest row an empty page takes.
std::size_t maxRowSize(const Format& format);

// Places `row` on `page`, which must have room; returns its row number.
std::uint8_t addRow(std::span<std::uint8_t> page, const Format& format, ByteView row);

// Where addRow() wrote on `page` in adding its row `row`: the header from
// the free-space field to the row's slot, and the row itself.
struct PageBytes {
  std::size_t offset = 0;
  std::size_t length = 0;
};
std::array<PageBytes, 2> bytesOfAddedRow(ByteView page, const Format& format, unsigned row);

// Marks row `row` deleted as Access does (0xC000 in its slot); its bytes
// stay until the page is compacted.
void markRowDeleted(std::span<std::uint8_t> page, const Format& format, unsigned row);

}  // namespace jet::write
