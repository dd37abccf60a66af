// Data pages: a header naming the owning table, a row count, then one
// 16-bit slot per row. A slot's low 13 bits give where the row starts; a
// row ends where the previous slot's row starts (row 0 at the page end).
// Flag 0x8000 marks a deleted row, 0x4000 a row that moved to another page
// and left a 4-byte pointer behind. Long-value pages have the same shape
// with "LVAL" in place of the owner.
#pragma once

#include <cstdint>

#include "jet/file/bytes.h"
#include "jet/file/format.h"

namespace jet {

namespace row_slot {
inline constexpr std::uint16_t kDeleted = 0x8000;
inline constexpr std::uint16_t kOverflow = 0x4000;
inline constexpr std::uint16_t kOffsetMask = 0x1FFF;
}  // namespace row_slot

inline constexpr std::size_t kDataOwnerOffset = 4;
// The owner of long-value pages: "LVAL" read as a 32-bit number.
inline constexpr std::uint32_t kLongValueOwner = 0x4C41564C;

struct RowBounds {
  std::uint16_t slot = 0;  // the raw slot with its flags
  std::size_t start = 0;
  std::size_t end = 0;  // one past the last byte
  bool deleted() const { return (slot & row_slot::kDeleted) != 0; }
  bool overflow() const { return (slot & row_slot::kOverflow) != 0; }
};

inline std::uint16_t dataRowCount(ByteView page, const Format& f) {
  const std::uint16_t count = u16(page, f.dataRowCountOffset);
  requireRange(page, f.dataFirstRowOffset, std::size_t{count} * 2, "the row offset table");
  return count;
}

inline std::uint16_t rowSlot(ByteView page, const Format& f, unsigned row) {
  return u16(page, f.dataFirstRowOffset + 2 * row);
}

// The bounds of row `row` (< dataRowCount); throws kDamaged when they
// contradict each other or the page.
inline RowBounds rowBounds(ByteView page, const Format& f, unsigned row) {
  RowBounds r;
  r.slot = rowSlot(page, f, row);
  r.start = r.slot & row_slot::kOffsetMask;
  r.end = row == 0 ? page.size() : (rowSlot(page, f, row - 1) & row_slot::kOffsetMask);
  const std::size_t tableEnd = f.dataFirstRowOffset + 2 * std::size_t{u16(page, f.dataRowCountOffset)};
  if (r.start < tableEnd || r.start > r.end || r.end > page.size())
    throw damaged("a row on a data page has impossible bounds");
  return r;
}

}  // namespace jet
