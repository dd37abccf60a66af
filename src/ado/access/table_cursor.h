// A forward-only cursor over one Access table: fields typed as the
// providers type them, rows streamed from the engine one at a time, the
// row count known up front from a scan of the row slots.
#pragma once

#include <vector>

#include "ado/provider.h"
#include "jet/database/database.h"

namespace ado::access {

class TableCursor final : public Cursor {
 public:
  TableCursor(const jet::Table& table, bool jet3);

  const std::vector<ColumnInfo>& columns() const override { return columns_; }
  bool fetch(std::vector<Variant>& row) override;
  long long knownRowCount() const override { return rowCount_; }

 private:
  std::vector<ColumnInfo> columns_;
  jet::RowCursor rows_;
  std::vector<jet::Value> values_;
  long long rowCount_;
};

}  // namespace ado::access
