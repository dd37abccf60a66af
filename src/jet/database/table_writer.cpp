#include "jet/database/table_writer.h"

#include "jet/convert/column_value.h"
#include "jet/error.h"
#include "jet/file/put_bytes.h"
#include "jet/long_value/long_value_writer.h"
#include "jet/page/data_page_format.h"
#include "jet/page/data_page_writer.h"
#include "jet/row/row_writer.h"
#include "jet/usage_map/usage_map_writer.h"

namespace jet::write {
namespace {

std::vector<std::uint8_t> definitionBytes(const PageStore& store, const Format& format, std::uint32_t page) {
  Pager pager(store.snapshot(), format.pageSize, 0);
  return readTableDefBytes(pager, format, page);
}

}  // namespace

TableWriter::TableWriter(const PageStore& store, const Header& header, TableDef def, std::string name,
                         std::vector<RequiredReference> references)
    : format_(header.format),
      def_(std::move(def)),
      name_(std::move(name)),
      references_(std::move(references)),
      keys_(keyForms(header)) {
  for (const ColumnDef& c : def_.columns) columns_.push_back(writableColumn(c));
  const auto definition = definitionBytes(store, format_, def_.page);
  longValueMaps_ = readLongValueMaps(definition, def_, format_);
  indexes_ = readRealIndexes(definition, def_, format_);
  for (const RealIndex& index : indexes_)
    if (const auto reason = unsupportedIndex(index, def_, keys_))
      throw Error(errc::kFailure, "Cannot insert into '" + name_ + "': " + *reason + ".");
  for (const RequiredReference& r : references_)
    if (const auto reason = unsupportedIndex(r.referencedIndex, r.referencedDef, keys_))
      throw Error(errc::kFailure,
                  "Cannot insert into '" + name_ + "': the related table '" + r.table + "' " + *reason + ".");
}

void TableWriter::forgetPlacement() {
  lastDataPage_ = 0;
  lastLongValuePage_.clear();
}

void TableWriter::assignAutoNumbers(PageStore& store, std::vector<convert::Value>& values) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (!columns_[i].autoNumber) continue;
    auto& tdef = store.editRanges(def_.page);
    store.changed(def_.page, kTdefNextAutoNumber, 4);
    // The field holds the last number handed out.
    const std::uint32_t last = u32(tdef, kTdefNextAutoNumber);
    if (std::holds_alternative<std::monostate>(values[i])) {
      values[i] = static_cast<std::int32_t>(last + 1);
      put32(tdef, kTdefNextAutoNumber, last + 1);
    } else if (const std::int32_t given = std::get<std::int32_t>(values[i]);
               given > 0 && static_cast<std::uint32_t>(given) > last) {
      put32(tdef, kTdefNextAutoNumber, static_cast<std::uint32_t>(given));
    }
  }
}

void TableWriter::countRow(PageStore& store, int change) const {
  auto& tdef = store.editRanges(def_.page);
  put32(tdef, format_.tdefRowCount, u32(tdef, format_.tdefRowCount) + static_cast<std::uint32_t>(change));
  store.changed(def_.page, format_.tdefRowCount, 4);
}

void TableWriter::erase(PageStore& store, const StoredRow& row) {
  std::vector<convert::Value> values;
  for (const Value& v : row.values) values.push_back(toWritable(v));
  for (const RealIndex& index : indexes_)
    if (!removeRowFromIndex(store, format_, index, def_, values, keys_, row.slot))
      throw damaged("an index of '" + name_ + "' lacks the entry of a row being deleted");
  for (const std::uint32_t at : {row.slot, row.data}) {
    const RowPointer p = RowPointer::decode(at);
    markRowDeleted(store.edit(p.page), format_, p.row);
  }
  lastDataPage_ = 0;
  countRow(store, -1);
}

std::uint32_t TableWriter::placeRow(PageStore& store, ByteView row) {
  if (lastDataPage_ == 0) {
    const auto pages = mapPages(store, format_, def_.freePagesMap);
    if (!pages.empty()) lastDataPage_ = pages.back();
  }
  if (lastDataPage_ != 0 && lastDataPage_ < store.pageCount()) {
    const auto& page = store.read(lastDataPage_);
    if (page[0] == kPageData && u32(page, kDataOwnerOffset) == def_.page &&
        roomForRow(page, format_) >= row.size())
      return addRowToPage(store, format_, lastDataPage_, row);
  }
  lastDataPage_ = allocatePage(store, format_, emptyDataPage(format_, def_.page));
  setMapPage(store, format_, def_.ownedPagesMap, lastDataPage_, true);
  setMapPage(store, format_, def_.freePagesMap, lastDataPage_, true);
  return addRowToPage(store, format_, lastDataPage_, row);
}

void TableWriter::insert(PageStore& store, const std::vector<convert::InputValue>& inputs) {
  if (def_.tableType == table_type::kSystem)
    throw Error(errc::kFailure, "Cannot update '" + name_ + "'; it is a system table.");
  insertValues(store, convert::toRowValues(inputs, columns_));
}

std::uint32_t TableWriter::insertValues(PageStore& store, std::vector<convert::Value> values) {
  assignAutoNumbers(store, values);
  for (const RequiredReference& r : references_) requireReferencedRow(store, format_, r, def_, values, keys_);
  const LongValueSink longValue = [&](const ColumnDef& c, ByteView data) {
    const auto maps = longValueMaps_.find(c.number);
    if (maps == longValueMaps_.end())
      throw damaged("the long-value column '" + c.name + "' has no usage maps");
    LongValueWriter writer(store, format_, maps->second, lastLongValuePage_[c.number]);
    return writer.write(data);
  };
  const std::vector<std::uint8_t> row = encodeRow(def_, values, longValue);
  if (row.size() > maxRowSize(format_)) throw Error(errc::kFailure, "Record is too large.");
  const std::uint32_t at = placeRow(store, row);
  for (const RealIndex& index : indexes_) addRowToIndex(store, format_, index, def_, values, keys_, at);
  countRow(store, +1);
  return at;
}

}  // namespace jet::write
