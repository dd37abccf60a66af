// INSERT into one existing table: the values converted to the columns'
// types, long values stored, the row placed on the last data page with
// room (or a new one, recorded in the table's usage maps), and the row
// count and next AutoNumber in the definition brought up to date. Tables
// with indexes are refused for now: a row their indexes did not know would
// leave them wrong.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "jet/convert/value.h"
#include "jet/format.h"
#include "jet/sql/statement.h"
#include "jet/table_def.h"
#include "jet/write/page_store.h"
#include "jet/write/table_layout.h"

namespace jet::write {

class TableInserter {
 public:
  TableInserter(const PageStore& store, const Format& format, TableDef def, std::string name);

  void insert(PageStore& store, const std::vector<sql::Literal>& values);
  // Forgets where rows went last (after a statement was discarded).
  void forgetPlacement();

 private:
  std::uint32_t placeRow(PageStore& store, ByteView row);
  void countRow(PageStore& store) const;
  void assignAutoNumbers(PageStore& store, std::vector<convert::Value>& values) const;

  const Format& format_;
  TableDef def_;
  std::string name_;
  std::vector<sql::ColumnDefinition> columns_;
  std::map<std::uint16_t, LongValueMaps> longValueMaps_;
  std::uint32_t lastDataPage_ = 0;
  std::map<std::uint16_t, std::uint32_t> lastLongValuePage_;
};

}  // namespace jet::write
