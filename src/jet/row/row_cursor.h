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

#include "jet/pager.h"
#include "jet/data_page.h"
#include "jet/row_layout.h"
#include "jet/table_def.h"
#include "jet/value.h"
#include "jet/value_decoder.h"

namespace jet {

class Database;

class RowCursor {
 public:
  RowCursor(std::shared_ptr<Database> database, std::shared_ptr<const TableDef> table);

  // Decodes the next live row into `row` (resized to the column count);
  // false after the last one.
  bool next(std::vector<Value>& row);

 private:
  bool advanceToLiveSlot();
  ByteView followOverflow(ByteView pointerRow);

  std::shared_ptr<Database> database_;
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
