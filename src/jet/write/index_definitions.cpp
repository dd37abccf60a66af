#include "jet/write/index_definitions.h"

#include "jet/error.h"

namespace jet::write {
namespace {

constexpr std::size_t kIndexColumnSlots = 10;
constexpr std::uint16_t kNoColumn = 0xFFFF;
constexpr std::uint8_t kAscendingOrder = 0x01;
// Within a Jet4 logical index block: the real index it uses, and its kind.
constexpr std::size_t kLogicalRealIndex = 8;
constexpr std::size_t kLogicalKind = 23;
constexpr std::uint8_t kPrimaryKeyKind = 0x01;

const ColumnDef* columnNumbered(const TableDef& def, std::uint16_t number) {
  for (const ColumnDef& c : def.columns)
    if (c.number == number) return &c;
  return nullptr;
}

const convert::Value& valueOf(const TableDef& def, const std::vector<convert::Value>& values, const ColumnDef& c) {
  return values[static_cast<std::size_t>(&c - def.columns.data())];
}

struct NullKeys {
  bool any = false;
  bool all = true;
};

NullKeys nullKeys(const RealIndex& index, const TableDef& def, const std::vector<convert::Value>& values) {
  NullKeys n;
  for (const IndexColumn& ic : index.columns) {
    const ColumnDef& c = *columnNumbered(def, ic.number);
    const bool null = nullKey(c, valueOf(def, values, c));
    n.any = n.any || null;
    n.all = n.all && null;
  }
  return n;
}

Error nullInKey() {
  return Error(errc::kFailure, "Index or primary key cannot contain a Null value.");
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
    index.flags = u8(d, at + 46);
    out.push_back(std::move(index));
  }
  for (std::uint32_t i = 0; i < def.logicalIndexes; ++i, at += f.logicalIndexSize) {
    const std::uint32_t real = u32(d, at + kLogicalRealIndex);
    if (u8(d, at + kLogicalKind) == kPrimaryKeyKind && real < out.size()) out[real].primaryKey = true;
  }
  return out;
}

std::optional<std::string> unsupportedIndex(const RealIndex& index, const TableDef& def, const KeyForms& forms) {
  for (const IndexColumn& ic : index.columns) {
    const ColumnDef* c = columnNumbered(def, ic.number);
    if (c == nullptr) return "it indexes a column that does not exist";
    if (auto reason = unkeyableColumn(*c, forms)) return reason;
  }
  return std::nullopt;
}

std::optional<Entry> indexEntry(const RealIndex& index, const TableDef& def, const std::vector<convert::Value>& values,
                                const KeyForms& forms, std::uint32_t rowPointer) {
  if (index.ignoresNulls() && nullKeys(index, def, values).all) return std::nullopt;
  Entry e;
  for (const IndexColumn& ic : index.columns) {
    const ColumnDef& c = *columnNumbered(def, ic.number);
    appendColumnKey(e, c, valueOf(def, values, c), ic.ascending, forms);
  }
  appendEntryRowPointer(e, rowPointer);
  return e;
}

void addRowToIndex(PageStore& store, const Format& f, const RealIndex& index, const TableDef& def,
                   const std::vector<convert::Value>& values, const KeyForms& forms, std::uint32_t rowPointer) {
  const NullKeys nulls = nullKeys(index, def, values);
  if (nulls.any && index.takesNoNull()) throw nullInKey();
  const auto entry = indexEntry(index, def, values, forms, rowPointer);
  if (entry) insertIndexEntry(store, f, index.location, *entry, index.unique() && !nulls.all);
}

bool removeRowFromIndex(PageStore& store, const Format& f, const RealIndex& index, const TableDef& def,
                        const std::vector<convert::Value>& values, const KeyForms& forms,
                        std::uint32_t rowPointer) {
  const auto entry = indexEntry(index, def, values, forms, rowPointer);
  return !entry || removeIndexEntry(store, f, index.location, *entry);
}

}  // namespace jet::write
