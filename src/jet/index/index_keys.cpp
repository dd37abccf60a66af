#include "jet/index/index_keys.h"

#include <algorithm>
#include <cstring>

#include "jet/collation/text_key.h"
#include "jet/error.h"

namespace jet::write {
namespace {

constexpr std::uint8_t kValueFollows = 0x7F;
constexpr std::uint8_t kNullValue = 0x00;
constexpr std::uint8_t kYes = 0x00;  // Yes sorts before No
constexpr std::uint8_t kNo = 0xFF;
constexpr std::uint8_t kPositiveNumeric = 0xFF;
constexpr std::uint8_t kNegativeNumeric = 0x00;
// Binary keys: 8 bytes per segment, then a byte that is the segment's
// length, or this mark when more segments follow.
constexpr std::size_t kSegment = 8;
constexpr std::uint8_t kMoreSegments = 0x09;

void invert(Entry& e, std::size_t from) {
  for (std::size_t i = from; i < e.size(); ++i) e[i] = static_cast<std::uint8_t>(~e[i]);
}

void appendBigEndian(Entry& e, std::uint64_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) e.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Two's complement integers with the sign bit flipped sort as numbers.
void appendInteger(Entry& e, std::int64_t v, int bytes) {
  appendBigEndian(e, static_cast<std::uint64_t>(v) ^ (std::uint64_t{1} << (8 * bytes - 1)), bytes);
}

// IEEE values: positive ones with the sign bit flipped, negative ones
// inverted, so that bytes sort as numbers.
void appendFloating(Entry& e, std::uint64_t bits, int bytes) {
  const std::uint64_t sign = std::uint64_t{1} << (8 * bytes - 1);
  const std::uint64_t mask = bytes == 8 ? ~std::uint64_t{0} : (sign << 1) - 1;
  appendBigEndian(e, (bits & sign) ? ~bits & mask : bits ^ sign, bytes);
}

void appendDouble(Entry& e, double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  appendFloating(e, bits, 8);
}

void appendSingle(Entry& e, float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  appendFloating(e, bits, 4);
}

// A sign byte, then the magnitude (16 bytes, big-endian); a negative
// value's magnitude is inverted so that larger magnitudes sort first.
void appendNumeric(Entry& e, const Numeric& n, bool ascending, bool legacy) {
  const bool negative = n.negative && n.magnitude != 0;
  const std::size_t start = e.size();
  e.push_back(negative ? kNegativeNumeric : kPositiveNumeric);
  appendBigEndian(e, static_cast<std::uint64_t>(n.magnitude >> 64), 8);
  appendBigEndian(e, static_cast<std::uint64_t>(n.magnitude), 8);
  if (negative) invert(e, start + 1);
  if (ascending) return;
  invert(e, start);
  if (legacy) e[start] = negative ? kNegativeNumeric : kPositiveNumeric;
}

// The last segment is padded with zeros. Descending inverts each
// segment's bytes and the last segment's length byte, but not the marks
// between segments: 0x09 sorts below every inverted length (0xF7-0xFE),
// so a longer value still comes before a shorter one it extends.
void appendSegments(Entry& e, const std::vector<std::uint8_t>& bytes, bool ascending) {
  std::size_t at = 0;
  for (; bytes.size() - at > kSegment; at += kSegment) {
    const std::size_t start = e.size();
    e.insert(e.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
             bytes.begin() + static_cast<std::ptrdiff_t>(at + kSegment));
    if (!ascending) invert(e, start);
    e.push_back(kMoreSegments);
  }
  if (at == bytes.size()) return;
  const std::size_t start = e.size();
  e.insert(e.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
  e.resize(start + kSegment, 0);
  e.push_back(static_cast<std::uint8_t>(bytes.size() - at));
  if (!ascending) invert(e, start);
}

// GUIDs key in their text order: the first three groups big-endian.
std::vector<std::uint8_t> guidTextOrder(const Guid& g) {
  std::vector<std::uint8_t> out(g.begin(), g.end());
  std::reverse(out.begin(), out.begin() + 4);
  std::reverse(out.begin() + 4, out.begin() + 6);
  std::reverse(out.begin() + 6, out.begin() + 8);
  return out;
}

template <typename T>
const T& valueAs(const ColumnDef& c, const convert::Value& v) {
  if (const auto* x = std::get_if<T>(&v)) return *x;
  throw Error(errc::kFailure, "Field '" + c.name + "' holds a value its index cannot key.");
}

// Forms whose descending key is not simply the ascending one inverted.
bool keysOwnDirection(ColumnType t) {
  return t == ColumnType::Text || t == ColumnType::Numeric || t == ColumnType::Guid ||
         t == ColumnType::Binary;
}

// The key of a non-null value; ascending, except for the forms that key
// their own direction.
void appendValue(Entry& e, const ColumnDef& c, const convert::Value& v, bool ascending,
                 const KeyForms& forms) {
  switch (c.type()) {
    case ColumnType::Boolean: {
      const auto* yes = std::get_if<bool>(&v);
      e.push_back(yes && *yes ? kYes : kNo);
      return;
    }
    case ColumnType::Byte: e.push_back(valueAs<std::uint8_t>(c, v)); return;
    case ColumnType::Int16: appendInteger(e, valueAs<std::int16_t>(c, v), 2); return;
    case ColumnType::Int32: appendInteger(e, valueAs<std::int32_t>(c, v), 4); return;
    case ColumnType::Currency: appendInteger(e, valueAs<Currency>(c, v).scaled, 8); return;
    case ColumnType::Single: appendSingle(e, valueAs<float>(c, v)); return;
    case ColumnType::Double: appendDouble(e, valueAs<double>(c, v)); return;
    case ColumnType::DateTime: appendDouble(e, valueAs<DateTime>(c, v).days); return;
    case ColumnType::Text:
      collation::appendTextKey(valueAs<std::u16string>(c, v), *forms.text, ascending, e);
      return;
    case ColumnType::Numeric:
      appendNumeric(e, valueAs<Numeric>(c, v), ascending, forms.legacyNumeric);
      return;
    case ColumnType::Guid: appendSegments(e, guidTextOrder(valueAs<Guid>(c, v)), ascending); return;
    case ColumnType::Binary: appendSegments(e, valueAs<std::vector<std::uint8_t>>(c, v), ascending); return;
    default: throw Error(errc::kFailure, "Field '" + c.name + "' cannot be indexed by this engine.");
  }
}

}  // namespace

KeyForms keyForms(const Header& header) {
  KeyForms forms;
  if (header.sortOrder == kGeneralSortOrder && header.sortOrderVersion == 0)
    forms.text = &collation::kLegacyCodeTable;
  if (header.sortOrder == kGeneralSortOrder && header.sortOrderVersion == 1)
    forms.text = &collation::kGeneralCodeTable;
  forms.legacyNumeric = header.version == Version::Jet4;
  return forms;
}

std::optional<std::string> unkeyableColumn(const ColumnDef& c, const KeyForms& forms) {
  switch (c.type()) {
    case ColumnType::Boolean:
    case ColumnType::Byte:
    case ColumnType::Int16:
    case ColumnType::Int32:
    case ColumnType::Currency:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::DateTime:
    case ColumnType::Numeric:
    case ColumnType::Guid:
    case ColumnType::Binary: return std::nullopt;
    case ColumnType::Text:
      if (forms.text == nullptr) return "its text index uses a sort order other than General";
      return std::nullopt;
    default: return "it has an index over field '" + c.name + "', whose key form this engine does not know";
  }
}

bool nullKey(const ColumnDef& c, const convert::Value& v) {
  return c.type() != ColumnType::Boolean && std::holds_alternative<std::monostate>(v);
}

void appendColumnKey(Entry& e, const ColumnDef& c, const convert::Value& v, bool ascending,
                     const KeyForms& forms) {
  const std::size_t start = e.size();
  if (nullKey(c, v)) {
    e.push_back(kNullValue);
    if (!ascending) invert(e, start);
    return;
  }
  e.push_back(kValueFollows);
  if (!ascending) invert(e, start);
  appendValue(e, c, v, ascending, forms);
  if (!ascending && !keysOwnDirection(c.type())) invert(e, start + 1);
}

}  // namespace jet::write
