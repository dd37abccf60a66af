// Cracking a stored row into per-column byte slices. A row holds a column
// count, the fixed-width columns at their offsets, the variable-width
// columns, a table of variable-column offsets stored backwards from the
// end (Jet3: one byte each plus a "jump table" for rows longer than 256
// bytes), the variable-column count, and finally the null mask, one bit
// per column number (set = has a value). Yes/No values live only in the
// null mask (calculated ones excepted). Columns added after a row was written lie beyond its counts
// and read as null.
#pragma once

#include <cstddef>
#include <vector>

#include "jet/file/bytes.h"
#include "jet/file/format.h"
#include "jet/table/table_def_reader.h"

namespace jet {

struct FieldSlice {
  bool isNull = true;
  bool flag = false;  // Yes/No columns: the value
  ByteView bytes;
};

class RowCracker {
 public:
  // Fills `out` (one entry per column of `table`, in its order) from `row`.
  // Throws kDamaged when the row's offsets contradict its length.
  void crack(ByteView row, const TableDef& table, const Format& format, std::vector<FieldSlice>& out);

 private:
  std::vector<std::size_t> offsets_;  // variable-column offsets, end of data last
};

}  // namespace jet
