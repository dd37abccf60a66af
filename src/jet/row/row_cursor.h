// Streaming a table's rows in storage order. The cursor walks the pages of
// the table's owned-pages usage map, keeps only data pages that name the
// table as owner, skips deleted slots and follows overflow pointers to the
// rows that moved. One page is held at a time, so memory stays flat
// however large the table is. Row counting walks the same slots without
// decoding any row.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "jet/file/pager.h"
#include "jet/page/data_page_format.h"
#include "jet/row/row_reader.h"
#include "jet/row/value.h"
#include "jet/row/value_decoder.h"
#include "jet/table/table_def_reader.h"

namespace jet {

class RowCursor {
 public:
  // `owner` keeps `pager` and `header` alive as long as the cursor: the
  // open database they belong to.
  RowCursor(std::shared_ptr<const void> owner, Pager& pager, const Header& header,
            std::shared_ptr<const TableDef> table);

  // Decodes the next live row into `row` (resized to the column count);
  // false after the last one.
  bool next(std::vector<Value>& row);

 private:
  bool advanceToLiveSlot();
  ByteView followOverflow(ByteView pointerRow);

  std::shared_ptr<const void> owner_;
  Pager& pager_;
  std::shared_ptr<const TableDef> table_;
  const Format& format_;
  std::vector<std::uint32_t> pages_;
  std::size_t pageIndex_ = 0;
  Page page_;
  unsigned rowCount_ = 0;
  unsigned nextRow_ = 0;
  RowBounds current_;
  Page overflowPage_;
  RowCracker cracker_;
  std::vector<FieldSlice> fields_;
  ValueDecoder decoder_;
};

// The owned data pages of `table`, as the cursor visits them.
std::vector<std::uint32_t> tableDataPages(Pager& pager, const Format& format, const TableDef& table);

// Counts the live rows of `table` from the row slots alone.
std::uint64_t countLiveRows(Pager& pager, const Format& format, const TableDef& table);

}  // namespace jet
