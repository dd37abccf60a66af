#include "jet/page/data_page_writer.h"

#include <algorithm>
#include <array>

#include "jet/error.h"
#include "jet/file/put_bytes.h"
#include "jet/page/data_page_format.h"

namespace jet::write {
namespace {

constexpr std::size_t kFreeSpaceOffset = 2;
constexpr std::size_t kSlotSize = 2;

// Where the lowest row starts: the last slot's offset, or the page end.
std::size_t lowestRowStart(ByteView page, const Format& f) {
  const std::uint16_t count = dataRowCount(page, f);
  if (count == 0) return page.size();
  return rowSlot(page, f, count - 1) & row_slot::kOffsetMask;
}

std::vector<std::uint8_t> emptyPage(const Format& f, std::span<const std::uint8_t, 4> owner) {
  std::vector<std::uint8_t> page(f.pageSize, 0);
  page[0] = kPageData;
  page[1] = kPageMark;
  put16(page, kFreeSpaceOffset, static_cast<std::uint16_t>(f.pageSize - f.dataFirstRowOffset));
  std::copy(owner.begin(), owner.end(), page.begin() + kDataOwnerOffset);
  return page;
}

}  // namespace

std::vector<std::uint8_t> emptyDataPage(const Format& format, std::uint32_t tdefPage) {
  std::array<std::uint8_t, 4> owner{};
  put32(owner, 0, tdefPage);
  return emptyPage(format, owner);
}

std::vector<std::uint8_t> emptyLongValuePage(const Format& format) {
  return emptyDataPage(format, kLongValueOwner);
}

std::size_t roomForRow(ByteView page, const Format& f) {
  const std::uint16_t count = dataRowCount(page, f);
  if (count >= kMaxRowsPerPage) return 0;
  const std::size_t slotsEnd = f.dataFirstRowOffset + kSlotSize * (count + 1u);
  const std::size_t low = lowestRowStart(page, f);
  return low > slotsEnd ? low - slotsEnd : 0;
}

std::size_t maxRowSize(const Format& f) {
  return f.pageSize - f.dataFirstRowOffset - kSlotSize;
}

std::uint8_t addRow(std::span<std::uint8_t> page, const Format& f, ByteView row) {
  if (row.size() > roomForRow(page, f)) throw Error(errc::kFailure, "A row does not fit its page.");
  const std::uint16_t count = dataRowCount(page, f);
  const std::size_t start = lowestRowStart(page, f) - row.size();
  std::copy(row.begin(), row.end(), page.begin() + static_cast<std::ptrdiff_t>(start));
  put16(page, f.dataFirstRowOffset + kSlotSize * count, static_cast<std::uint16_t>(start));
  put16(page, f.dataRowCountOffset, static_cast<std::uint16_t>(count + 1));
  put16(page, kFreeSpaceOffset,
        static_cast<std::uint16_t>(start - (f.dataFirstRowOffset + kSlotSize * (count + 1u))));
  return static_cast<std::uint8_t>(count);
}

std::array<PageBytes, 2> bytesOfAddedRow(ByteView page, const Format& f, unsigned row) {
  const RowBounds bounds = rowBounds(page, f, row);
  const std::size_t slotEnd = f.dataFirstRowOffset + kSlotSize * (row + 1u);
  return {PageBytes{kFreeSpaceOffset, slotEnd - kFreeSpaceOffset},
          PageBytes{bounds.start, bounds.end - bounds.start}};
}

void markRowDeleted(std::span<std::uint8_t> page, const Format& f, unsigned row) {
  // Access sets both flag bits on a deleted row's slot; some readers look
  // at one of them only.
  const std::uint16_t slot = rowSlot(page, f, row);
  put16(page, f.dataFirstRowOffset + kSlotSize * row,
        static_cast<std::uint16_t>(slot | row_slot::kDeleted | row_slot::kOverflow));
}

}  // namespace jet::write
