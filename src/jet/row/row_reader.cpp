// Row cracking for Jet3 and Jet4 rows.
#include "jet/row/row_reader.h"

namespace jet {
namespace {

void readJet4Offsets(ByteView row, std::size_t maskSize, std::vector<std::size_t>& offsets) {
  const std::size_t countPos = row.size() - maskSize - 2;
  const std::size_t n = u16(row, countPos);
  if ((n + 1) * 2 > countPos) throw damaged("a row's variable-column table is too long");
  offsets.resize(n + 1);
  for (std::size_t i = 0; i <= n; ++i) offsets[i] = u16(row, countPos - 2 - 2 * i);
}

void readJet3Offsets(ByteView row, std::size_t maskSize, std::vector<std::size_t>& offsets) {
  const std::size_t rowEnd = row.size() - 1;  // last byte, as the format counts
  const std::size_t n = u8(row, rowEnd - maskSize);
  std::size_t jumps = rowEnd / 256;
  if (rowEnd < maskSize + jumps + 1) throw damaged("a row is too short for its jump table");
  const std::size_t colPtr = rowEnd - maskSize - jumps - 1;
  if (colPtr < n) throw damaged("a row's variable-column table is too long");
  // A final jump entry that no offset needs is padding.
  if ((colPtr - n) / 256 < jumps) --jumps;
  offsets.resize(n + 1);
  std::size_t used = 0;
  for (std::size_t i = 0; i <= n; ++i) {
    while (used < jumps && i == u8(row, rowEnd - maskSize - used - 1)) ++used;
    offsets[i] = u8(row, colPtr - i) + used * 256;
  }
}

}  // namespace

void RowCracker::crack(ByteView row, const TableDef& table, const Format& f, std::vector<FieldSlice>& out) {
  out.assign(table.columns.size(), FieldSlice{});
  const std::size_t rowColumns = f.rowCountSize == 1 ? u8(row, 0) : u16(row, 0);
  const std::size_t maskSize = (rowColumns + 7) / 8;
  if (row.size() < f.rowCountSize + maskSize + f.rowCountSize)
    throw damaged("a row is shorter than its null mask");
  const ByteView mask = row.subspan(row.size() - maskSize);

  offsets_.clear();
  if (table.varColumns > 0) {
    if (f.jet3)
      readJet3Offsets(row, maskSize, offsets_);
    else
      readJet4Offsets(row, maskSize, offsets_);
  }
  const std::size_t varCount = offsets_.empty() ? 0 : offsets_.size() - 1;

  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    const ColumnDef& c = table.columns[i];
    FieldSlice& s = out[i];
    const bool present = c.number < rowColumns && (mask[c.number / 8] & (1u << (c.number % 8))) != 0;
    if (c.type() == ColumnType::Boolean && !c.calculated()) {
      s.isNull = false;
      s.flag = present;
      continue;
    }
    if (!present) continue;
    if (c.fixed()) {
      s.bytes = slice(row, f.rowCountSize + c.fixedOffset, c.length, "a fixed-width value");
    } else {
      if (c.varIndex >= varCount) continue;
      const std::size_t start = offsets_[c.varIndex];
      const std::size_t end = offsets_[c.varIndex + 1];
      if (start > end) throw damaged("a row's variable-column offsets run backwards");
      s.bytes = slice(row, start, end - start, "a variable-width value");
    }
    s.isNull = false;
  }
}

}  // namespace jet
