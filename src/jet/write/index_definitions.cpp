#include "jet/write/index_definitions.h"

#include <algorithm>
#include <cstring>

#include "jet/collation/text_key.h"
#include "jet/error.h"

namespace jet::write {
namespace {

constexpr std::size_t kIndexColumnSlots = 10;
constexpr std::uint16_t kNoColumn = 0xFFFF;
constexpr std::uint8_t kAscendingOrder = 0x01;
// Flag bytes before each column's key: a value follows, or the column is
// null. Descending keys are the ascending ones inverted, flag included.
constexpr std::uint8_t kValueFollows = 0x7F;
constexpr std::uint8_t kNullValue = 0x00;

const ColumnDef* columnNumbered(const TableDef& def, std::uint16_t number) {
  for (const ColumnDef& c : def.columns)
    if (c.number == number) return &c;
  return nullptr;
}

std::size_t positionOf(const TableDef& def, const ColumnDef* column) {
  return static_cast<std::size_t>(column - def.columns.data());
}

// Integers: big-endian with the sign bit flipped, so that bytes sort as numbers.
void appendSigned(Entry& out, std::int64_t v, int bytes) {
  const auto u = static_cast<std::uint64_t>(v) ^ (std::uint64_t{1} << (8 * bytes - 1));
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

// Doubles: positive values with the sign bit flipped, negative ones inverted.
void appendDouble(Entry& out, double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  bits = (bits >> 63) ? ~bits : bits ^ (std::uint64_t{1} << 63);
  for (int i = 7; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void appendKey(Entry& e, const ColumnDef& c, const convert::Value& v, const collation::CodeTable* codes) {
  if (const auto* s = std::get_if<std::int16_t>(&v)) appendSigned(e, *s, 2);
  else if (const auto* l = std::get_if<std::int32_t>(&v)) appendSigned(e, *l, 4);
  else if (const auto* t = std::get_if<DateTime>(&v)) appendDouble(e, t->days);
  else if (const auto* d = std::get_if<double>(&v)) appendDouble(e, *d);
  else if (const auto* text = std::get_if<std::u16string>(&v); text && codes) collation::appendTextKey(*text, *codes, true, e);
  else throw Error(errc::kFailure, "Field '" + c.name + "' cannot be indexed by this engine.");
}

}  // namespace

std::vector<RealIndex> readRealIndexes(ByteView d, const TableDef& def, const Format& f) {
  std::size_t at = f.tdefIndexCounts + def.realIndexes * f.realIndexCountSize + f.columnSize * def.columns.size();
  for (std::size_t i = 0; i < def.columns.size(); ++i) at += f.nameLengthSize + u16(d, at);
  std::vector<RealIndex> out;
  for (std::uint32_t i = 0; i < def.realIndexes; ++i, at += f.realIndexSize) {
    RealIndex index;
    for (std::size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
      const std::uint16_t number = u16(d, at + 4 + 3 * slot);
      if (number == kNoColumn) continue;
      index.columns.push_back({number, u8(d, at + 6 + 3 * slot) == kAscendingOrder});
    }
    index.location = {def.page, u32(d, at + 38), u32(d, at + 34)};
    index.unique = (u8(d, at + 46) & kIndexUnique) != 0;
    out.push_back(std::move(index));
  }
  return out;
}

std::optional<std::string> unsupportedIndex(const RealIndex& index, const TableDef& def,
                                            const collation::CodeTable* codes) {
  for (const IndexColumn& ic : index.columns) {
    const ColumnDef* c = columnNumbered(def, ic.number);
    if (c == nullptr) return "it indexes a column that does not exist";
    switch (c->type()) {
      case ColumnType::Int16: case ColumnType::Int32:
      case ColumnType::DateTime: case ColumnType::Double:
        break;
      case ColumnType::Text:
        if (codes == nullptr) return "its text index uses a sort order other than General";
        break;
      default:
        return "it has an index over field '" + c->name + "', whose key form this engine does not know";
    }
  }
  return std::nullopt;
}

Entry indexEntry(const RealIndex& index, const TableDef& def, const std::vector<convert::Value>& values,
                 const collation::CodeTable* codes, std::uint32_t rowPointer) {
  Entry e;
  for (const IndexColumn& ic : index.columns) {
    const ColumnDef* c = columnNumbered(def, ic.number);
    const convert::Value& v = values[positionOf(def, c)];
    const std::size_t start = e.size();
    if (std::holds_alternative<std::monostate>(v)) {
      e.push_back(kNullValue);
    } else {
      e.push_back(kValueFollows);
      appendKey(e, *c, v, codes);
    }
    if (!ic.ascending)
      for (std::size_t i = start; i < e.size(); ++i) e[i] = static_cast<std::uint8_t>(~e[i]);
  }
  appendEntryRowPointer(e, rowPointer);
  return e;
}


const collation::CodeTable* textKeyCodes(std::uint16_t sortOrder, std::uint8_t version) {
  constexpr std::uint16_t kGeneral = 0x0409;
  if (sortOrder != kGeneral) return nullptr;
  if (version == 0) return &collation::kLegacyCodeTable;
  if (version == 1) return &collation::kGeneralCodeTable;
  return nullptr;
}

}  // namespace jet::write
