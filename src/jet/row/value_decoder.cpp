// Value decoding for every Access column type.
#include "jet/row/value_decoder.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "jet/file/pager.h"
#include "jet/file/text.h"
#include "jet/long_value/long_value_reader.h"

namespace jet {
namespace {

std::string& textSlot(Value& out) {
  if (!std::holds_alternative<std::string>(out)) out = std::string();
  auto& text = std::get<std::string>(out);
  text.clear();
  return text;
}

Bytes& bytesSlot(Value& out) {
  if (!std::holds_alternative<Bytes>(out)) out = Bytes();
  auto& bytes = std::get<Bytes>(out);
  bytes.clear();
  return bytes;
}

// NUMERIC: a sign byte, then four 32-bit little-endian words, most
// significant word first.
Numeric decodeNumeric(ByteView b, const ColumnDef& c) {
  Numeric n;
  n.negative = (u8(b, 0) & 0x80) != 0;
  n.precision = c.precision;
  n.scale = c.scale;
  for (std::size_t word = 0; word < 4; ++word) n.magnitude = (n.magnitude << 32) | u32(b, 1 + 4 * word);
  return n;
}

// Calculated NUMERIC results: 16-bit length, scale, sign, then the
// magnitude in 4-byte groups; a leading odd group is a byte-reversed
// 32-bit word, the rest byte-reversed 64-bit words, most significant first.
Numeric decodeCalculatedNumeric(ByteView b, const ColumnDef& c) {
  Numeric n;
  requireRange(b, 0, 4, "a calculated decimal");
  const std::size_t stored = u16(b, 0);
  std::size_t length = ((stored >= 2 ? stored : b.size() - 2) - 2) / 4 * 4;
  length = std::min<std::size_t>({length, 16, b.size() - 4});
  n.scale = u8(b, 2);
  n.negative = u8(b, 3) != 0;
  n.precision = c.precision;
  std::size_t pos = 4;
  if (length % 8 != 0) {
    n.magnitude = u32(b, pos);
    pos += 4;
  }
  for (; pos + 8 <= 4 + length; pos += 8) n.magnitude = (n.magnitude << 64) | u64(b, pos);
  return n;
}

void requireWidth(ByteView b, std::size_t width) {
  if (b.size() < width) throw damaged("a fixed-width value is too short for its type");
}

}  // namespace

namespace {

// Reads `count` decimal digits at `pos`; nullopt if any is not a digit.
std::optional<std::uint64_t> digitsAt(ByteView b, std::size_t pos, std::size_t count) {
  if (pos + count > b.size()) return std::nullopt;
  std::uint64_t v = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (b[i] < '0' || b[i] > '9') return std::nullopt;
    v = v * 10 + (b[i] - '0');
  }
  return v;
}

// Proleptic Gregorian date of day `z` counted from 1970-01-01.
void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
}

}  // namespace

std::string extendedDateTimeText(ByteView stored) {
  // 19 digits: days since 0001-01-01; ':'; 19 digits: time of day in
  // 100-nanosecond ticks; then ":<digits of precision>".
  constexpr std::int64_t kDaysFrom0001To1970 = 719162;
  constexpr std::uint64_t kTicksPerDay = 864000000000ULL;
  const auto days = digitsAt(stored, 0, 19);
  const auto ticks = digitsAt(stored, 20, 19);
  if (!days || !ticks || stored[19] != ':' || *days > 3652058 || *ticks >= kTicksPerDay)
    throw damaged("a Date/Time Extended value is malformed");
  std::int64_t year;
  unsigned month, day;
  civilFromDays(static_cast<std::int64_t>(*days) - kDaysFrom0001To1970, year, month, day);
  const std::uint64_t seconds = *ticks / 10000000, fraction = *ticks % 10000000;
  char text[48];
  int n = std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02u:%02u:%02u", static_cast<long long>(year),
                        month, day, static_cast<unsigned>(seconds / 3600),
                        static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
  if (fraction != 0) {
    n += std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), ".%07u",
                       static_cast<unsigned>(fraction));
    while (text[n - 1] == '0') --n;
  }
  return std::string(text, static_cast<std::size_t>(n));
}

ValueDecoder::ValueDecoder(Pager& pager, const Header& header)
    : pager_(pager), format_(header.format), codePage_(header.codePage) {}

void ValueDecoder::decode(const ColumnDef& column, const FieldSlice& field, Value& out) {
  if (column.type() == ColumnType::Boolean && !column.calculated()) {
    out = field.flag;
    return;
  }
  if (field.isNull) {
    out = std::monostate{};
    return;
  }
  if (!column.calculated()) {
    decodeBytes(column.typeCode, column, field.bytes, out);
    return;
  }
  if (column.valueType() == ColumnType::Memo) {
    readLongValue(pager_, format_, field.bytes, longValue_);
    decodeText(unwrapCalculated(longValue_), out);
    return;
  }
  const ByteView result = unwrapCalculated(field.bytes);
  if (result.empty() && column.valueType() != ColumnType::Text) {
    out = std::monostate{};  // the expression gave no value; no text is an empty text
    return;
  }
  switch (column.valueType()) {
    case ColumnType::Boolean:
      out = result[0] != 0;  // not in the null mask, unlike stored Yes/No values
      return;
    case ColumnType::Numeric: out = decodeCalculatedNumeric(result, column); return;
    default: decodeBytes(column.valueTypeCode(), column, result, out);
  }
}

ByteView unwrapCalculated(ByteView wrapped) {
  const std::size_t length = u32(wrapped, kCalculatedLengthOffset);
  return slice(wrapped, kCalculatedDataOffset, length, "a calculated value");
}

void ValueDecoder::decodeText(ByteView bytes, Value& out) const {
  auto& text = textSlot(out);
  if (format_.jet3)
    codePage_.appendUtf8Of(bytes, text);
  else
    appendJet4Text(bytes, text);
}

void ValueDecoder::decodeBytes(std::uint8_t typeCode, const ColumnDef& c, ByteView b, Value& out) {
  if (!isKnownColumnType(typeCode)) {
    auto& bytes = bytesSlot(out);
    bytes.assign(b.begin(), b.end());
    return;
  }
  switch (static_cast<ColumnType>(typeCode)) {
    case ColumnType::Boolean: out = !b.empty() && b[0] != 0; return;
    case ColumnType::Byte: out = u8(b, 0); return;
    case ColumnType::Int16: out = static_cast<std::int16_t>(u16(b, 0)); return;
    case ColumnType::Int32:
    case ColumnType::Complex: out = static_cast<std::int32_t>(u32(b, 0)); return;
    case ColumnType::BigInt: out = static_cast<std::int64_t>(u64(b, 0)); return;
    case ColumnType::Currency: out = Currency{static_cast<std::int64_t>(u64(b, 0))}; return;
    case ColumnType::Single: out = f32(b, 0); return;
    case ColumnType::Double: out = f64(b, 0); return;
    case ColumnType::DateTime: out = DateTime{f64(b, 0)}; return;
    case ColumnType::Guid: {
      requireWidth(b, 16);
      Guid g;
      std::copy_n(b.begin(), 16, g.begin());
      out = g;
      return;
    }
    case ColumnType::Numeric:
      requireWidth(b, 17);
      out = decodeNumeric(b, c);
      return;
    case ColumnType::Binary: {
      auto& bytes = bytesSlot(out);
      bytes.assign(b.begin(), b.end());
      return;
    }
    case ColumnType::Text: decodeText(b, out); return;
    case ColumnType::ExtDateTime: textSlot(out) = extendedDateTimeText(b); return;
    case ColumnType::Memo:
      readLongValue(pager_, format_, b, longValue_);
      decodeText(longValue_, out);
      return;
    case ColumnType::Ole: {
      auto& bytes = bytesSlot(out);
      readLongValue(pager_, format_, b, bytes);
      return;
    }
  }
}

}  // namespace jet
