#include "jet/write/row_encoder.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "jet/error.h"
#include "jet/write/put_bytes.h"

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
  for (int word = 3; word >= 0; --word)
    append32(out, static_cast<std::uint32_t>(n.magnitude >> (32 * word)));
}

// The stored bytes of a non-null value.
std::vector<std::uint8_t> valueBytes(const ColumnDef& c, const convert::Value& v,
                                     const LongValueSink& longValue) {
  std::vector<std::uint8_t> out;
  std::visit(
      [&](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::u16string>) {
          out = utf16leBytes(x);
        } else if constexpr (std::is_same_v<T, std::vector<std::uint8_t>>) {
          out = x;
        } else if constexpr (std::is_same_v<T, Currency>) {
          appendScalar(out, x.scaled);
        } else if constexpr (std::is_same_v<T, DateTime>) {
          appendScalar(out, x.days);
        } else if constexpr (std::is_same_v<T, Numeric>) {
          appendNumeric(out, x);
        } else if constexpr (std::is_same_v<T, Guid>) {
          out.assign(x.begin(), x.end());
        } else if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, bool>) {
          appendScalar(out, x);
        }
      },
      v);
  if (c.type() == ColumnType::Memo || c.type() == ColumnType::Ole) return longValue(c, out);
  return out;
}

}  // namespace

std::vector<std::uint8_t> utf16leBytes(const std::u16string& text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() * 2);
  for (char16_t u : text) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  return out;
}

std::vector<std::uint8_t> encodeRow(const TableDef& def, const std::vector<convert::Value>& values,
                                    const LongValueSink& longValue) {
  std::size_t fixedSize = 0;
  std::size_t varSlots = def.varColumns;
  for (const ColumnDef& c : def.columns) {
    if (c.fixed()) fixedSize = std::max<std::size_t>(fixedSize, c.fixedOffset + c.length);
    else if (c.type() != ColumnType::Boolean) varSlots = std::max<std::size_t>(varSlots, c.varIndex + 1u);
  }
  std::vector<std::uint8_t> row(kCountSize + fixedSize, 0);
  put16(row, 0, def.maxColumns);
  std::vector<std::uint8_t> mask((def.maxColumns + 7u) / 8, 0);
  std::vector<std::vector<std::uint8_t>> varData(varSlots);

  for (std::size_t i = 0; i < def.columns.size(); ++i) {
    const ColumnDef& c = def.columns[i];
    const convert::Value& v = values[i];
    if (std::holds_alternative<std::monostate>(v)) continue;
    if (c.type() == ColumnType::Boolean) {
      if (std::get<bool>(v)) mask[c.number / 8] |= static_cast<std::uint8_t>(1u << (c.number % 8));
      continue;
    }
    mask[c.number / 8] |= static_cast<std::uint8_t>(1u << (c.number % 8));
    std::vector<std::uint8_t> bytes = valueBytes(c, v, longValue);
    if (c.fixed()) {
      if (bytes.size() > c.length) throw Error(errc::kFailure, "Field '" + c.name + "' has a value too wide for it.");
      std::copy(bytes.begin(), bytes.end(), row.begin() + static_cast<std::ptrdiff_t>(kCountSize + c.fixedOffset));
    } else {
      varData[c.varIndex] = std::move(bytes);
    }
  }

  if (varSlots > 0 || def.varColumns > 0) {
    std::vector<std::uint16_t> offsets;
    for (const auto& data : varData) {
      offsets.push_back(static_cast<std::uint16_t>(row.size()));
      row.insert(row.end(), data.begin(), data.end());
    }
    offsets.push_back(static_cast<std::uint16_t>(row.size()));  // end of the data
    if (row.size() > 0xFFFF) throw Error(errc::kFailure, "Record is too large.");
    for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) append16(row, *it);
    append16(row, static_cast<std::uint16_t>(varSlots));
  }
  row.insert(row.end(), mask.begin(), mask.end());
  return row;
}

}  // namespace jet::write
