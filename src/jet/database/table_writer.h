// Changing the rows of one existing table. INSERT: the values converted to the columns'
// types, long values stored, the row placed on the last data page with
// room (or a new one, recorded in the table's usage maps), and the row
// count and next AutoNumber in the definition brought up to date, and an
// entry added to each of the table's indexes. A row that an enforced
// relationship needs a related row for is refused without one. A table with
// an index whose keys the engine cannot build is refused: a row its index
// did not know would leave the index wrong.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "jet/convert/input_value.h"
#include "jet/convert/value.h"
#include "jet/database/referential_integrity.h"
#include "jet/file/format.h"
#include "jet/file/header.h"
#include "jet/index/index_entries.h"
#include "jet/journal/page_store.h"
#include "jet/row/stored_rows.h"
#include "jet/table/table_def_reader.h"
#include "jet/table/table_layout.h"

namespace jet::write {

class TableWriter {
 public:
  TableWriter(const PageStore& store, const Header& header, TableDef def, std::string name,
              std::vector<RequiredReference> references = {});

  // Inserts values as a statement writes them, converted to the columns'
  // types.
  void insert(PageStore& store, const std::vector<convert::InputValue>& values);
  // Inserts values already of the columns' types; the new row's pointer.
  std::uint32_t insertValues(PageStore& store, std::vector<convert::Value> values);
  // Deletes a row found by forEachStoredRow, with its index entries.
  void erase(PageStore& store, const StoredRow& row);
  const TableDef& def() const { return def_; }
  const std::vector<RealIndex>& indexes() const { return indexes_; }
  // Forgets where rows went last (after a statement was discarded).
  void forgetPlacement();

 private:
  std::uint32_t placeRow(PageStore& store, ByteView row);
  void countRow(PageStore& store, int change) const;
  void assignAutoNumbers(PageStore& store, std::vector<convert::Value>& values) const;

  const Format& format_;
  TableDef def_;
  std::string name_;
  std::vector<NewColumn> columns_;
  std::map<std::uint16_t, LongValueMaps> longValueMaps_;
  std::vector<RealIndex> indexes_;
  std::vector<RequiredReference> references_;
  KeyForms keys_;
  std::uint32_t lastDataPage_ = 0;
  std::map<std::uint16_t, std::uint32_t> lastLongValuePage_;
};

}  // namespace jet::write
