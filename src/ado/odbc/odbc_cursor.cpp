#include "ado/odbc/odbc_cursor.h"

#include <sqlext.h>

#include "ado/odbc/diagnostics.h"

namespace ado::odbc {
namespace {

struct Described {
  std::string name;
  SQLSMALLINT sqlType = 0;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
};

Described describeColumn(SQLHSTMT statement, SQLUSMALLINT column) {
  Described d;
  d.name.resize(128);
  SQLSMALLINT length = 0;
  SQLSMALLINT nullable = 0;
  for (;;) {
    check(SQLDescribeCol(statement, column, reinterpret_cast<SQLCHAR*>(d.name.data()),
                         static_cast<SQLSMALLINT>(d.name.size()), &length, &d.sqlType, &d.size, &d.digits,
                         &nullable),
          SQL_HANDLE_STMT, statement);
    if (static_cast<std::size_t>(length) < d.name.size()) break;
    d.name.resize(static_cast<std::size_t>(length) + 1);  // truncated: ask again with room for all
  }
  d.name.resize(static_cast<std::size_t>(length));
  return d;
}

// ADO's DefinedSize, Precision and NumericScale from the described size
// and digits: the length of text and binary columns, the digits of
// decimal ones.
void declare(ColumnInfo& info, const Described& d) {
  switch (d.sqlType) {
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      info.precision = static_cast<int>(d.size);
      info.numericScale = d.digits;
      break;
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: info.definedSize = static_cast<long long>(d.size); break;
    default: break;
  }
}

bool isUnsigned(SQLHSTMT statement, SQLUSMALLINT column) {
  SQLLEN flag = SQL_FALSE;
  check(SQLColAttribute(statement, column, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &flag), SQL_HANDLE_STMT,
        statement);
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
    Described described = describeColumn(statement_.get(), column);
    // Only TINYINT's ADO type depends on the sign; asking costs a call.
    const bool unsignedColumn = described.sqlType == SQL_TINYINT && isUnsigned(statement_.get(), column);
    const ColumnMapping mapping = mapColumn(described.sqlType, unsignedColumn);
    ColumnInfo info{std::move(described.name), mapping.adoType};
    declare(info, described);
    columns_.push_back(std::move(info));
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
