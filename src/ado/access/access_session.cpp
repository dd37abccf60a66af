// Session operations of the Access providers.
#include "ado/access/access_session.h"

#include <variant>

#include "ado/access/access_provider.h"
#include "ado/access/schema_rows.h"
#include "ado/access/table_cursor.h"
#include "ado/error.h"
#include "jet/sql/executor.h"
#include "jet/sql/parser.h"

namespace ado::access {

std::shared_ptr<jet::Database> AccessSession::currentDatabase() const {
  return jet::Database::open(path_, password_, keys_);
}

jet::write::DatabaseWriter& AccessSession::writer() {
  if (!writer_) writer_ = std::make_unique<jet::write::DatabaseWriter>(path_, password_, policy_, &keys_);
  return *writer_;
}

void AccessSession::execute(std::string_view sql) {
  translatingErrors([&] {
    const jet::sql::Statement statement = jet::sql::parse(sql);
    // A plain SELECT is run for nothing, as ADO runs it: only a missing
    // table shows.
    if (const auto* select = std::get_if<jet::sql::SelectAll>(&statement)) {
      currentDatabase()->table(select->table);
      return;
    }
    jet::sql::execute(writer(), statement);
  });
}

std::unique_ptr<Cursor> AccessSession::query(std::string_view sql) {
  return translatingErrors([&]() -> std::unique_ptr<Cursor> {
    const jet::sql::Statement statement = jet::sql::parse(sql);
    const auto* select = std::get_if<jet::sql::SelectAll>(&statement);
    if (select == nullptr)
      throw Error(errc::kSyntaxError, "The statement '" + std::string(sql) +
                                          "' returns no rows; run it with Execute rather than "
                                          "open it as a record set.");
    const auto database = currentDatabase();
    return std::make_unique<TableCursor>(database->table(select->table), database->header().format.jet3);
  });
}

std::unique_ptr<Cursor> AccessSession::tables() {
  return translatingErrors([&] { return std::make_unique<SchemaRows>(currentDatabase()->catalog()); });
}

}  // namespace ado::access
