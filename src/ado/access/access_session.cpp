// Session operations of the Access providers.
#include "ado/access/access_session.h"

#include "ado/access/access_provider.h"
#include "ado/access/schema_rows.h"
#include "ado/access/select_statement.h"
#include "ado/access/table_cursor.h"
#include "ado/error.h"

namespace ado::access {

void AccessSession::execute(std::string_view sql) {
  throw Error(errc::kSyntaxError,
              "This Access engine cannot run '" + std::string(sql) + "' yet: it only reads tables.");
}

std::unique_ptr<Cursor> AccessSession::query(std::string_view sql) {
  const std::string table = parseSelectAll(sql);
  return translatingErrors([&] { return std::make_unique<TableCursor>(database_->table(table)); });
}

std::unique_ptr<Cursor> AccessSession::tables() {
  return std::make_unique<SchemaRows>(database_->catalog());
}

}  // namespace ado::access
