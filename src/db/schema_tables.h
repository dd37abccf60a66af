// Walking the rows of a table schema (adSchemaTables) as both gateways
// do: only rows whose TABLE_TYPE is exactly "TABLE" count.
#pragma once

#include <QString>
#include <functional>

namespace ado {
class Recordset;
}

namespace db {

// Calls `visit` with the TABLE_NAME of each user-table row, in the
// provider's order, from the current row to the end.
void ForEachUserTable(ado::Recordset& schema, const std::function<void(const QString&)>& visit);

}  // namespace db
