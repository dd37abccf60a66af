// Laying out one row (Jet4): the column count, the fixed-width columns at
// their offsets (full width even when null), the variable-width values,
// their offsets stored backwards after the end-of-data offset, the count
// of variable columns and the null mask, in which Yes/No columns keep their
// value. Memo and OLE values arrive as their in-row reference bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "jet/convert/value.h"
#include "jet/table/table_def_reader.h"

namespace jet::write {

// Turns a long value's bytes into the bytes the row holds for it.
using LongValueSink = std::function<std::vector<std::uint8_t>(const ColumnDef&, ByteView data)>;

// `values` follow def.columns. Throws for a row larger than a page takes.
std::vector<std::uint8_t> encodeRow(const TableDef& def, const std::vector<convert::Value>& values,
                                    const LongValueSink& longValue);

}  // namespace jet::write
