#include "db/schema_tables.h"

#include "ado/recordset.h"

namespace db {

namespace {

// Views, system tables and the like carry other types, and the test is
// case-sensitive: "table" or "TABLE " are not user tables.
constexpr char kUserTableType[] = "TABLE";

}  // namespace

void ForEachUserTable(ado::Recordset& schema, const std::function<void(const QString&)>& visit) {
  for (; !schema.eof(); schema.moveNext()) {
    if (schema.field("TABLE_TYPE").value.textForm() != kUserTableType) continue;
    visit(QString::fromStdString(schema.field("TABLE_NAME").value.textForm()));
  }
}

}  // namespace db
