#include "jet/table/index_definitions.h"

namespace jet::write {
namespace {

using namespace logical_index;

std::size_t realIndexesStart(ByteView d, const TableDef& def, const Format& f) {
  std::size_t at =
      f.tdefIndexCounts + def.realIndexes * f.realIndexCountSize + f.columnSize * def.columns.size();
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
    if (u8(d, at + kKind) != kForeignKey || u8(d, at + kRelatedSide) == kOneSide ||
        u32(d, at + kRelatedIndex) == kNoIndex)
      return;
    out.push_back({u32(d, at + kRealIndex), u32(d, at + kRelatedTable), u32(d, at + kRelatedIndex)});
  });
  return out;
}

std::optional<std::uint32_t> realIndexOf(ByteView d, const TableDef& def, const Format& f,
                                         std::uint32_t logical) {
  std::optional<std::uint32_t> real;
  forEachLogicalIndex(d, def, f, [&](std::size_t at) {
    if (u32(d, at + kNumber) == logical) real = u32(d, at + kRealIndex);
  });
  return real;
}

std::vector<RealIndex> readRealIndexes(ByteView d, const TableDef& def, const Format& f) {
  std::size_t at = realIndexesStart(d, def, f);
  std::vector<RealIndex> out;
  for (std::uint32_t i = 0; i < def.realIndexes; ++i, at += f.realIndexSize) {
    RealIndex index;
    for (std::size_t slot = 0; slot < real_index::kColumnSlots; ++slot) {
      const std::size_t column = at + real_index::kFirstColumnSlot + real_index::kColumnSlotSize * slot;
      const std::uint16_t number = u16(d, column);
      if (number == real_index::kNoColumn) continue;
      index.columns.push_back({number, u8(d, column + real_index::kColumnOrder) == real_index::kAscending});
    }
    index.location = {def.page, u32(d, at + real_index::kRoot), u32(d, at + real_index::kUsageMap)};
    index.flags = u8(d, at + real_index::kFlags);
    out.push_back(std::move(index));
  }
  forEachLogicalIndex(d, def, f, [&](std::size_t logical) {
    const std::uint32_t real = u32(d, logical + kRealIndex);
    if (u8(d, logical + kKind) == kPrimaryKey && real < out.size()) out[real].primaryKey = true;
  });
  return out;
}

}  // namespace jet::write
