// Session operations of the Access providers.
#include "ado/access/access_session.h"

#include <variant>

#include "ado/access/access_provider.h"
#include "ado/access/schema_rows.h"
#include "ado/access/table_cursor.h"
#include "ado/error.h"
#include "jet/sql/parser.h"

namespace ado::access {

AccessSession::AccessSession(std::string path, std::string password,
                             std::shared_ptr<jet::Database> database)
    : path_(std::move(path)), password_(std::move(password)), database_(std::move(database)) {}

jet::Database& AccessSession::database() {
  if (!database_) database_ = jet::Database::open(path_, password_);
  return *database_;
}

jet::write::DatabaseWriter& AccessSession::writer() {
  if (!writer_) writer_ = std::make_unique<jet::write::DatabaseWriter>(path_, password_);
  return *writer_;
}

void AccessSession::execute(std::string_view sql) {
  translatingErrors([&] {
    const jet::sql::Statement statement = jet::sql::parse(sql);
    // A plain SELECT is run for nothing, as ADO runs it: only a missing
    // table shows.
    if (const auto* select = std::get_if<jet::sql::SelectAll>(&statement)) {
      database().table(select->table);
      return;
    }
    auto& changing = writer();
    // Whatever the writer did, also in a statement that failed, the
    // reader's cached pages may no longer be the file's.
    database_.reset();
    changing.execute(statement);
  });
}

std::unique_ptr<Cursor> AccessSession::query(std::string_view sql) {
  return translatingErrors([&]() -> std::unique_ptr<Cursor> {
    const jet::sql::Statement statement = jet::sql::parse(sql);
    const auto* select = std::get_if<jet::sql::SelectAll>(&statement);
    if (select == nullptr)
      throw Error(errc::kSyntaxError, "The statement '" + std::string(sql) +
                                          "' returns no rows; run it with Execute rather than open it as a record set.");
    return std::make_unique<TableCursor>(database().table(select->table));
  });
}

std::unique_ptr<Cursor> AccessSession::tables() {
  return translatingErrors([&] { return std::make_unique<SchemaRows>(database().catalog()); });
}

}  // namespace ado::access
