// A forward-only result set on its own statement handle.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ado/odbc/handle.h"
#include "ado/odbc/odbc_link.h"
#include "ado/odbc/type_map.h"
#include "ado/odbc/value_reader.h"
#include "ado/provider.h"

namespace ado::odbc {

class OdbcCursor final : public Cursor {
 public:
  // `statement` has just been executed; its columns are described here.
  OdbcCursor(std::shared_ptr<const OdbcLink> link, StatementHandle statement);

  const std::vector<ColumnInfo>& columns() const override { return columns_; }
  bool fetch(std::vector<Variant>& row) override;

  void renameColumn(std::size_t index, std::string name);

 private:
  void describe();

  std::shared_ptr<const OdbcLink> link_;  // outlives the statement below
  StatementHandle statement_;
  std::vector<ColumnInfo> columns_;
  std::vector<Fetch> plans_;
  ValueReader reader_;
};

}  // namespace ado::odbc
