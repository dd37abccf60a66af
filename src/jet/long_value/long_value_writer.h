// Writing Memo and OLE Object values. Up to 64 bytes stay in the row
// behind the 12-byte reference; a value that fits one long-value row goes
// into one; longer ones become a chain of rows, each starting with the
// pointer to the next. Long-value rows share LVAL pages, which the
// column's own usage maps list.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/file/bytes.h"
#include "jet/file/format.h"
#include "jet/journal/page_store.h"
#include "jet/table/table_layout.h"

namespace jet::write {

inline constexpr std::size_t kMaxInlineLongValue = 64;

class LongValueWriter {
 public:
  // `lastPage` is the LVAL page rows went to last (0: none known); it is
  // updated so that the next value can continue there.
  LongValueWriter(PageStore& store, const Format& format, LongValueMaps maps, std::uint32_t& lastPage);

  // The in-row bytes for `data`: the reference, and the data itself when
  // it stays inline.
  std::vector<std::uint8_t> write(ByteView data);

 private:
  std::uint32_t placeRow(ByteView row);

  PageStore& store_;
  const Format& format_;
  LongValueMaps maps_;
  std::uint32_t& lastPage_;
};

}  // namespace jet::write
