// Row cursor and row counting.
#include "jet/row/row_cursor.h"

#include "jet/page/data_page_format.h"
#include "jet/usage_map/usage_map_reader.h"

namespace jet {
namespace {

// A moved row is reached through at most this many pointers; more means a
// damaged (possibly looping) file.
constexpr int kMaxOverflowHops = 4;

bool ownsPage(ByteView page, std::uint32_t tableDefPage) {
  return page[0] == kPageData && u32(page, kDataOwnerOffset) == tableDefPage;
}

}  // namespace

std::vector<std::uint32_t> tableDataPages(Pager& pager, const Format& format, const TableDef& table) {
  return readUsageMap(pager, format, table.ownedPagesMap);
}

std::uint64_t countLiveRows(Pager& pager, const Format& format, const TableDef& table) {
  std::uint64_t count = 0;
  for (const std::uint32_t number : tableDataPages(pager, format, table)) {
    const Page page = pager.page(number);
    const ByteView view(*page);
    if (!ownsPage(view, table.page)) continue;
    const unsigned rows = dataRowCount(view, format);
    for (unsigned r = 0; r < rows; ++r) {
      if ((rowSlot(view, format, r) & row_slot::kDeleted) == 0) ++count;
    }
  }
  return count;
}

RowCursor::RowCursor(std::shared_ptr<const void> owner, Pager& pager, const Header& header,
                     std::shared_ptr<const TableDef> table)
    : owner_(std::move(owner)),
      pager_(pager),
      table_(std::move(table)),
      format_(header.format),
      pages_(tableDataPages(pager_, format_, *table_)),
      decoder_(pager_, header) {}

bool RowCursor::advanceToLiveSlot() {
  for (;;) {
    while (nextRow_ < rowCount_) {
      current_ = rowBounds(ByteView(*page_), format_, nextRow_++);
      if (!current_.deleted()) return true;
    }
    if (pageIndex_ >= pages_.size()) return false;
    page_ = pager_.page(pages_[pageIndex_++]);
    const ByteView view(*page_);
    rowCount_ = ownsPage(view, table_->page) ? dataRowCount(view, format_) : 0;
    nextRow_ = 0;
  }
}

ByteView RowCursor::followOverflow(ByteView pointerRow) {
  for (int hop = 0; hop < kMaxOverflowHops; ++hop) {
    const RowPointer target = RowPointer::decode(u32(pointerRow, 0));
    overflowPage_ = pager_.page(target.page);
    const ByteView view(*overflowPage_);
    if (view[0] != kPageData || target.row >= dataRowCount(view, format_))
      throw damaged("an overflow pointer names a missing row");
    const RowBounds r = rowBounds(view, format_, target.row);
    pointerRow = view.subspan(r.start, r.end - r.start);
    if (!r.overflow()) return pointerRow;
  }
  throw damaged("a chain of moved rows is too long");
}

bool RowCursor::next(std::vector<Value>& row) {
  if (!advanceToLiveSlot()) return false;
  ByteView bytes = ByteView(*page_).subspan(current_.start, current_.end - current_.start);
  if (current_.overflow()) bytes = followOverflow(bytes);
  cracker_.crack(bytes, *table_, format_, fields_);
  row.resize(fields_.size());
  for (std::size_t i = 0; i < fields_.size(); ++i) decoder_.decode(table_->columns[i], fields_[i], row[i]);
  return true;
}

}  // namespace jet
