#include "jet/row/row_writer.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "jet/error.h"
#include "jet/file/put_bytes.h"
#include "utf16/encode.h"

namespace jet::write {
namespace {

constexpr std::size_t kCountSize = 2;

// A fixed-size value's bytes, little-endian.
template <typename T>
void appendScalar(std::vector<std::uint8_t>& out, T v) {
  std::uint8_t bytes[sizeof(T)];
  std::memcpy(bytes, &v, sizeof(T));
  out.insert(out.end(), bytes, bytes + sizeof(T));
}

// NUMERIC: a sign byte, then the magnitude as four 32-bit little-endian
// words, the most significant word first.
void appendNumeric(std::vector<std::uint8_t>& out, const Numeric& n) {
  out.push_back(n.negative ? 0x80 : 0x00);
  for (int word = 3; word >= 0; --word) append32(out, static_cast<std::uint32_t>(n.magnitude >> (32 * word)));
}

// Appends the stored bytes of a non-null value as the value's own type
// has them (a long value's data, not yet its in-row reference).
void appendValueBytes(std::vector<std::uint8_t>& out, const convert::Value& v) {
  std::visit(
      [&](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::u16string>) {
          utf16::appendAsUtf16le(out, x);
        } else if constexpr (std::is_same_v<T, std::vector<std::uint8_t>> || std::is_same_v<T, Guid>) {
          out.insert(out.end(), x.begin(), x.end());
        } else if constexpr (std::is_same_v<T, Currency>) {
          appendScalar(out, x.scaled);
        } else if constexpr (std::is_same_v<T, DateTime>) {
          appendScalar(out, x.days);
        } else if constexpr (std::is_same_v<T, Numeric>) {
          appendNumeric(out, x);
        } else if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, bool>) {
          appendScalar(out, x);
        }
      },
      v);
}

bool isLongValue(const ColumnDef& c) {
  return c.type() == ColumnType::Memo || c.type() == ColumnType::Ole;
}

void markPresent(std::vector<std::uint8_t>& mask, const ColumnDef& c) {
  mask[c.number / 8] |= static_cast<std::uint8_t>(1u << (c.number % 8));
}

// Most rows fit in this without the buffer growing; larger ones grow.
constexpr std::size_t kUsualRowBytes = 512;

}  // namespace

std::vector<std::uint8_t> encodeRow(const TableDef& def, const std::vector<convert::Value>& values,
                                    const LongValueSink& longValue) {
  std::size_t fixedSize = 0;
  std::size_t varSlots = def.varColumns;
  for (const ColumnDef& c : def.columns) {
    if (c.fixed())
      fixedSize = std::max<std::size_t>(fixedSize, c.fixedOffset + c.length);
    else if (c.type() != ColumnType::Boolean)
      varSlots = std::max<std::size_t>(varSlots, c.varIndex + 1u);
  }
  std::vector<std::uint8_t> row;
  row.reserve(std::max(kUsualRowBytes, kCountSize + fixedSize));
  row.resize(kCountSize + fixedSize, 0);
  put16(row, 0, def.maxColumns);
  std::vector<std::uint8_t> mask((def.maxColumns + 7u) / 8, 0);
  // The variable-width values go into the row in slot order, which need
  // not be the columns' order.
  struct SlotValue {
    const ColumnDef* column = nullptr;  // null: the slot is empty in this row
    const convert::Value* value = nullptr;
  };
  std::vector<SlotValue> slots(varSlots);
  // One buffer for the values that do not go straight to the row's end:
  // fixed-width ones and long values' data.
  std::vector<std::uint8_t> scratch;

  for (std::size_t i = 0; i < def.columns.size(); ++i) {
    const ColumnDef& c = def.columns[i];
    const convert::Value& v = values[i];
    if (std::holds_alternative<std::monostate>(v)) continue;
    if (c.type() == ColumnType::Boolean) {
      if (std::get<bool>(v)) markPresent(mask, c);
      continue;
    }
    markPresent(mask, c);
    if (!c.fixed()) {
      slots[c.varIndex] = {&c, &v};
      continue;
    }
    scratch.clear();
    appendValueBytes(scratch, v);
    if (isLongValue(c)) scratch = longValue(c, scratch);
    if (scratch.size() > c.length)
      throw Error(errc::kFailure, "Field '" + c.name + "' has a value too wide for it.");
    std::copy(scratch.begin(), scratch.end(),
              row.begin() + static_cast<std::ptrdiff_t>(kCountSize + c.fixedOffset));
  }

  if (varSlots > 0 || def.varColumns > 0) {
    std::vector<std::uint16_t> offsets;
    offsets.reserve(varSlots + 1);
    for (const SlotValue& slot : slots) {
      offsets.push_back(static_cast<std::uint16_t>(row.size()));
      if (slot.column == nullptr) continue;
      if (isLongValue(*slot.column)) {
        scratch.clear();
        appendValueBytes(scratch, *slot.value);
        const std::vector<std::uint8_t> reference = longValue(*slot.column, scratch);
        row.insert(row.end(), reference.begin(), reference.end());
      } else {
        appendValueBytes(row, *slot.value);
      }
      // Checked as it grows: a wider row would wrap the 16-bit offsets.
      if (row.size() > 0xFFFF) throw Error(errc::kFailure, "Record is too large.");
    }
    offsets.push_back(static_cast<std::uint16_t>(row.size()));  // end of the data
    for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) append16(row, *it);
    append16(row, static_cast<std::uint16_t>(varSlots));
  }
  row.insert(row.end(), mask.begin(), mask.end());
  return row;
}

}  // namespace jet::write
