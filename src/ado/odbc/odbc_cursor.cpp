#include "ado/odbc/odbc_cursor.h"

#include <sqlext.h>

#include "ado/odbc/diagnostics.h"

namespace ado::odbc {
namespace {

std::string columnName(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT& sqlType) {
  std::string name(128, '\0');
  SQLSMALLINT length = 0;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
  SQLSMALLINT nullable = 0;
  for (;;) {
    check(SQLDescribeCol(statement, column, reinterpret_cast<SQLCHAR*>(name.data()),
                         static_cast<SQLSMALLINT>(name.size()), &length, &sqlType, &size, &digits,
                         &nullable),
          SQL_HANDLE_STMT, statement);
    if (static_cast<std::size_t>(length) < name.size()) break;
    name.resize(static_cast<std::size_t>(length) + 1);  // truncated: ask again with room for all
  }
  name.resize(static_cast<std::size_t>(length));
  return name;
}

bool isUnsigned(SQLHSTMT statement, SQLUSMALLINT column) {
  SQLLEN flag = SQL_FALSE;
  check(SQLColAttribute(statement, column, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &flag),
        SQL_HANDLE_STMT, statement);
  return flag == SQL_TRUE;
}

}  // namespace

OdbcCursor::OdbcCursor(std::shared_ptr<const OdbcLink> link, StatementHandle statement)
    : link_(std::move(link)), statement_(std::move(statement)) {
  describe();
}

void OdbcCursor::describe() {
  SQLSMALLINT count = 0;
  check(SQLNumResultCols(statement_.get(), &count), SQL_HANDLE_STMT, statement_.get());
  for (SQLUSMALLINT column = 1; column <= static_cast<SQLUSMALLINT>(count); ++column) {
    SQLSMALLINT sqlType = 0;
    std::string name = columnName(statement_.get(), column, sqlType);
    // Only TINYINT's ADO type depends on the sign; asking costs a call.
    const bool unsignedColumn = sqlType == SQL_TINYINT && isUnsigned(statement_.get(), column);
    const ColumnMapping mapping = mapColumn(sqlType, unsignedColumn);
    columns_.push_back(ColumnInfo{std::move(name), mapping.adoType});
    plans_.push_back(mapping.fetch);
  }
}

bool OdbcCursor::fetch(std::vector<Variant>& row) {
  row.resize(columns_.size());
  if (columns_.empty()) return false;
  const SQLRETURN rc = SQLFetch(statement_.get());
  if (rc == SQL_NO_DATA) return false;
  check(rc, SQL_HANDLE_STMT, statement_.get());
  for (std::size_t i = 0; i < plans_.size(); ++i)
    row[i] = reader_.read(statement_.get(), static_cast<SQLUSMALLINT>(i + 1), plans_[i]);
  return true;
}

void OdbcCursor::renameColumn(std::size_t index, std::string name) {
  columns_.at(index).name = std::move(name);
}

}  // namespace ado::odbc
