#include "ado/odbc/odbc_session.h"

#include <sqlext.h>

#include <limits>

#include "ado/error.h"
#include "ado/odbc/diagnostics.h"
#include "ado/odbc/odbc_cursor.h"

namespace ado::odbc {
namespace {

// Runs `sql` on `statement`; a statement that touched no rows
// (SQL_NO_DATA) has still succeeded.
void executeDirect(SQLHSTMT statement, std::string_view sql) {
  if (sql.size() > static_cast<std::size_t>(std::numeric_limits<SQLINTEGER>::max()))
    throw Error(errc::kProviderFailure, "The statement is too long.");
  // SQLExecDirect does not write to the text; its signature predates const.
  const SQLRETURN rc = SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.data())),
                                     static_cast<SQLINTEGER>(sql.size()));
  if (rc != SQL_NO_DATA) check(rc, SQL_HANDLE_STMT, statement);
}

// ODBC's SQLTables column names and the adSchemaTables names for them.
constexpr std::pair<const char*, const char*> kSchemaNames[] = {
    {"TABLE_CAT", "TABLE_CATALOG"}, {"TABLE_SCHEM", "TABLE_SCHEMA"}, {"REMARKS", "DESCRIPTION"}};

}  // namespace

OdbcSession::OdbcSession(std::shared_ptr<OdbcLink> link)
    : link_(std::move(link)), statement_(link_->newStatement()) {}

void OdbcSession::execute(std::string_view sql) {
  executeDirect(statement_.get(), sql);
  // A statement that returned rows would keep its cursor open and block the next one.
  SQLFreeStmt(statement_.get(), SQL_CLOSE);
}

std::unique_ptr<Cursor> OdbcSession::query(std::string_view sql) {
  StatementHandle statement = link_->newStatement();
  executeDirect(statement.get(), sql);
  return std::make_unique<OdbcCursor>(link_, std::move(statement));
}

std::unique_ptr<Cursor> OdbcSession::tables() {
  StatementHandle statement = link_->newStatement();
  check(SQLTables(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0), SQL_HANDLE_STMT,
        statement.get());
  auto cursor = std::make_unique<OdbcCursor>(link_, std::move(statement));
  for (std::size_t i = 0; i < cursor->columns().size(); ++i) {
    for (const auto& [odbcName, adoName] : kSchemaNames)
      if (cursor->columns()[i].name == odbcName) cursor->renameColumn(i, adoName);
  }
  return cursor;
}

}  // namespace ado::odbc
