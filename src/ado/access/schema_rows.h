// The adSchemaTables rowset of an Access database: TABLE_CATALOG,
// TABLE_SCHEMA (both null), TABLE_NAME and TABLE_TYPE for every table,
// query and link, ordered by type and then name as the providers order it.
#pragma once

#include <string>
#include <vector>

#include "ado/provider.h"
#include "jet/catalog/catalog_reader.h"

namespace ado::access {

// TABLE_TYPE of a catalog object: "TABLE", "SYSTEM TABLE" (engine-made
// system objects and any other MSys* table), "ACCESS TABLE" (hidden tables
// Access itself keeps), "VIEW" (stored select queries), "LINK" (linked
// Access tables), "PASS-THROUGH" (ODBC links). Empty for other queries,
// which the providers list as procedures rather than tables.
std::string tableTypeOf(const jet::CatalogEntry& entry);

class SchemaRows final : public Cursor {
 public:
  explicit SchemaRows(const std::vector<jet::CatalogEntry>& catalog);

  const std::vector<ColumnInfo>& columns() const override { return columns_; }
  bool fetch(std::vector<Variant>& row) override;
  long long knownRowCount() const override { return static_cast<long long>(rows_.size()); }

 private:
  struct Row {
    std::string type;
    std::string name;
  };
  std::vector<ColumnInfo> columns_;
  std::vector<Row> rows_;
  std::size_t next_ = 0;
};

}  // namespace ado::access
