#include "jet/long_value/long_value_writer.h"

#include <algorithm>

#include "jet/error.h"
#include "jet/file/put_bytes.h"
#include "jet/long_value/long_value_format.h"
#include "jet/page/data_page_format.h"
#include "jet/page/data_page_writer.h"
#include "jet/usage_map/usage_map_writer.h"

namespace jet::write {
namespace {

constexpr std::size_t kNextPointer = 4;

bool isLongValuePage(ByteView page) {
  return page[0] == kPageData && u32(page, kDataOwnerOffset) == kLongValueOwner;
}

}  // namespace

LongValueWriter::LongValueWriter(PageStore& store, const Format& format, LongValueMaps maps,
                                 std::uint32_t& lastPage)
    : store_(store), format_(format), maps_(maps), lastPage_(lastPage) {}

std::uint32_t LongValueWriter::placeRow(ByteView row) {
  if (lastPage_ != 0 && lastPage_ < store_.pageCount()) {
    const auto& page = store_.read(lastPage_);
    if (isLongValuePage(page) && roomForRow(page, format_) >= row.size())
      return addRowToPage(store_, format_, lastPage_, row);
  }
  lastPage_ = allocatePage(store_, format_, emptyLongValuePage(format_));
  if (maps_.owned != 0) setMapPage(store_, format_, maps_.owned, lastPage_, true);
  if (maps_.free != 0) setMapPage(store_, format_, maps_.free, lastPage_, true);
  return addRowToPage(store_, format_, lastPage_, row);
}

std::vector<std::uint8_t> LongValueWriter::write(ByteView data) {
  if (data.size() > long_value_flags::kLengthMask)
    throw Error(errc::kFailure, "A Memo or OLE Object value is too large.");
  const auto length = static_cast<std::uint32_t>(data.size());
  if (data.size() <= kMaxInlineLongValue) {
    // Sized once and copied into: GCC 12 misreads a vector insert here as
    // an out-of-bounds copy (-Warray-bounds).
    std::vector<std::uint8_t> reference(kLongValueHeader + data.size(), 0);
    put32(reference, 0, length | long_value_flags::kInline);
    std::copy(data.begin(), data.end(), reference.begin() + kLongValueHeader);
    return reference;
  }
  std::vector<std::uint8_t> reference(kLongValueHeader, 0);
  const std::size_t maxRow = maxRowSize(format_);
  if (data.size() <= maxRow) {
    put32(reference, 0, length | long_value_flags::kSingleRow);
    put32(reference, 4, placeRow(data));
    return reference;
  }
  // A chain, written from its end so that each row knows its successor.
  const std::size_t chunk = maxRow - kNextPointer;
  std::uint32_t next = 0;
  for (std::size_t end = data.size(); end > 0;) {
    const std::size_t start = (end - 1) / chunk * chunk;
    std::vector<std::uint8_t> row(kNextPointer, 0);
    put32(row, 0, next);
    row.insert(row.end(), data.begin() + static_cast<std::ptrdiff_t>(start),
               data.begin() + static_cast<std::ptrdiff_t>(end));
    next = placeRow(row);
    end = start;
  }
  put32(reference, 0, length);
  put32(reference, 4, next);
  return reference;
}

}  // namespace jet::write
