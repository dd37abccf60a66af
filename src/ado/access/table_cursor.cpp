// Streaming an Access table through the provider interface.
#include "ado/access/table_cursor.h"

#include "ado/access/access_provider.h"
#include "ado/access/field_mapping.h"

namespace ado::access {

TableCursor::TableCursor(const jet::Table& table, bool jet3)
    : rows_(table.rows()), rowCount_(static_cast<long long>(table.countRows())) {
  columns_.reserve(table.columns().size());
  for (const auto& c : table.columns()) columns_.push_back(describeColumn(c, jet3));
}

bool TableCursor::fetch(std::vector<Variant>& row) {
  const bool more = translatingErrors([&] { return rows_.next(values_); });
  if (!more) return false;
  row.resize(values_.size());
  for (std::size_t i = 0; i < values_.size(); ++i) row[i] = toVariant(std::move(values_[i]));
  return true;
}

}  // namespace ado::access
