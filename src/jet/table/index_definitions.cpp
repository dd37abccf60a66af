#include "jet/table/index_definitions.h"

namespace jet::write {
namespace {

constexpr std::size_t kIndexColumnSlots = 10;
constexpr std::uint16_t kNoColumn = 0xFFFF;
constexpr std::uint8_t kAscendingOrder = 0x01;
// Within a Jet4 logical index block: its number, the real index it uses,
// the relationship it takes part in (which side this table is, the other
// table's logical index and definition page) and its kind.
constexpr std::size_t kLogicalNumber = 4;
constexpr std::size_t kLogicalRealIndex = 8;
constexpr std::size_t kLogicalRelatedSide = 12;
constexpr std::size_t kLogicalRelatedIndex = 13;
constexpr std::size_t kLogicalRelatedTable = 17;
constexpr std::size_t kLogicalKind = 23;
constexpr std::uint8_t kPrimaryKeyKind = 0x01;
constexpr std::uint8_t kForeignKeyKind = 0x02;
constexpr std::uint8_t kOneSide = 0x01;
constexpr std::uint32_t kNoIndex = 0xFFFFFFFF;

std::size_t realIndexesStart(ByteView d, const TableDef& def, const Format& f) {
  std::size_t at = f.tdefIndexCounts + def.realIndexes * f.realIndexCountSize + f.columnSize * def.columns.size();
  for (std::size_t i = 0; i < def.columns.size(); ++i) at += f.nameLengthSize + u16(d, at);
  return at;
}

// Calls `visit` with the offset of each logical index block.
template <typename Visit>
void forEachLogicalIndex(ByteView d, const TableDef& def, const Format& f, Visit visit) {
  std::size_t at = realIndexesStart(d, def, f) + def.realIndexes * f.realIndexSize;
  for (std::uint32_t i = 0; i < def.logicalIndexes; ++i, at += f.logicalIndexSize) visit(at);
}

}  // namespace

std::vector<ForeignKey> readForeignKeys(ByteView d, const TableDef& def, const Format& f) {
  std::vector<ForeignKey> out;
  forEachLogicalIndex(d, def, f, [&](std::size_t at) {
    if (u8(d, at + kLogicalKind) != kForeignKeyKind || u8(d, at + kLogicalRelatedSide) == kOneSide ||
        u32(d, at + kLogicalRelatedIndex) == kNoIndex)
      return;
    out.push_back({u32(d, at + kLogicalRealIndex), u32(d, at + kLogicalRelatedTable), u32(d, at + kLogicalRelatedIndex)});
  });
  return out;
}

std::optional<std::uint32_t> realIndexOf(ByteView d, const TableDef& def, const Format& f, std::uint32_t logical) {
  std::optional<std::uint32_t> real;
  forEachLogicalIndex(d, def, f, [&](std::size_t at) {
    if (u32(d, at + kLogicalNumber) == logical) real = u32(d, at + kLogicalRealIndex);
  });
  return real;
}

std::vector<RealIndex> readRealIndexes(ByteView d, const TableDef& def, const Format& f) {
  std::size_t at = realIndexesStart(d, def, f);
  std::vector<RealIndex> out;
  for (std::uint32_t i = 0; i < def.realIndexes; ++i, at += f.realIndexSize) {
    RealIndex index;
    for (std::size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
      const std::uint16_t number = u16(d, at + 4 + 3 * slot);
      if (number == kNoColumn) continue;
      index.columns.push_back({number, u8(d, at + 6 + 3 * slot) == kAscendingOrder});
    }
    index.location = {def.page, u32(d, at + 38), u32(d, at + 34)};
    index.flags = u8(d, at + 46);
    out.push_back(std::move(index));
  }
  forEachLogicalIndex(d, def, f, [&](std::size_t logical) {
    const std::uint32_t real = u32(d, logical + kLogicalRealIndex);
    if (u8(d, logical + kLogicalKind) == kPrimaryKeyKind && real < out.size()) out[real].primaryKey = true;
  });
  return out;
}

}  // namespace jet::write
