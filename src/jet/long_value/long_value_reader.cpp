// Long-value reading: inline, single-row and chained.
#include "jet/long_value/long_value_reader.h"

#include <unordered_set>

#include "jet/file/pager.h"
#include "jet/page/data_page_format.h"

namespace jet {
namespace {

// The bytes of the long-value row `pointer` names; the page stays cached
// by the pager while the caller copies from the view.
ByteView longValueRow(Pager& pager, const Format& f, RowPointer pointer, Page& holder) {
  holder = pager.page(pointer.page);
  const ByteView page(*holder);
  if (page[0] != kPageData || u32(page, kDataOwnerOffset) != kLongValueOwner)
    throw damaged("a long value points to page " + std::to_string(pointer.page) + ", which holds none");
  if (pointer.row >= dataRowCount(page, f)) throw damaged("a long value points to a missing row");
  const RowBounds r = rowBounds(page, f, pointer.row);
  return page.subspan(r.start, r.end - r.start);
}

}  // namespace

void readLongValue(Pager& pager, const Format& f, ByteView reference, std::vector<std::uint8_t>& out) {
  out.clear();
  const std::uint32_t head = u32(reference, 0);
  const std::size_t length = head & long_value_flags::kLengthMask;
  if ((head & long_value_flags::kInline) != 0) {
    const ByteView data = slice(reference, kLongValueHeader, length, "an inline long value");
    out.assign(data.begin(), data.end());
    return;
  }
  Page holder;
  RowPointer pointer = RowPointer::decode(u32(reference, 4));
  if ((head & long_value_flags::kSingleRow) != 0) {
    const ByteView data = slice(longValueRow(pager, f, pointer, holder), 0, length, "a long value");
    out.assign(data.begin(), data.end());
    return;
  }
  std::unordered_set<std::uint32_t> seen;
  while (out.size() < length) {
    if (pointer.page == 0) throw damaged("a long value's chain ends early");
    if (!seen.insert(pointer.page << 8 | pointer.row).second) throw damaged("a long value's chain loops");
    const ByteView row = longValueRow(pager, f, pointer, holder);
    const ByteView data =
        slice(row, 4, row.size() - std::min<std::size_t>(4, row.size()), "a long value part");
    const std::size_t take = std::min(data.size(), length - out.size());
    out.insert(out.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(take));
    pointer = RowPointer::decode(u32(row, 0));
  }
}

}  // namespace jet
