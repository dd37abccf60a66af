// The reference the benchmarks measure the layers against: plain driver
// manager calls on one connection, one statement handle for statements
// and one for reading a result.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ado/odbc/handle.h"

namespace bench {

inline void requireOdbc(SQLRETURN rc, const char* what) {
  if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) throw std::runtime_error(std::string("bare ODBC: ") + what);
}

class BareOdbc {
 public:
  explicit BareOdbc(const std::string& dsn) {
    SQLHANDLE raw = SQL_NULL_HANDLE;
    requireOdbc(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &raw), "environment");
    environment_ = ado::odbc::EnvironmentHandle(raw);
    requireOdbc(SQLSetEnvAttr(raw, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
                "version");
    requireOdbc(SQLAllocHandle(SQL_HANDLE_DBC, environment_.get(), &raw), "connection");
    connection_ = ado::odbc::ConnectionHandle(raw);
    std::string text = "DSN=" + dsn;
    requireOdbc(SQLDriverConnect(raw, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0,
                                 nullptr, SQL_DRIVER_NOPROMPT),
                "connect");
    statement_ = newStatement();
    reader_ = newStatement();
  }
  ~BareOdbc() {
    statement_ = ado::odbc::StatementHandle();
    reader_ = ado::odbc::StatementHandle();
    SQLDisconnect(connection_.get());
  }
  BareOdbc(const BareOdbc&) = delete;
  BareOdbc& operator=(const BareOdbc&) = delete;

  void execute(const std::string& sql) {
    requireOdbc(SQLExecDirect(statement_.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.data())),
                              static_cast<SQLINTEGER>(sql.size())),
                "SQLExecDirect");
  }

  // Starts reading a query; the column types, as SQLDescribeCol gives them.
  std::vector<SQLSMALLINT> query(const std::string& sql) {
    requireOdbc(SQLExecDirect(reader_.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.data())),
                              static_cast<SQLINTEGER>(sql.size())),
                "query");
    SQLSMALLINT count = 0;
    requireOdbc(SQLNumResultCols(reader_.get(), &count), "columns");
    std::vector<SQLSMALLINT> types;
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(count); ++c) {
      SQLSMALLINT type = 0;
      SQLULEN size = 0;
      SQLSMALLINT digits = 0;
      SQLSMALLINT nullable = 0;
      requireOdbc(SQLDescribeCol(reader_.get(), c, nullptr, 0, nullptr, &type, &size, &digits, &nullable),
                  "describe");
      types.push_back(type);
    }
    return types;
  }

  // The next row's values as text (nullopt for NULL); false at the end.
  bool fetch(std::vector<std::optional<std::string>>& row) {
    const SQLRETURN rc = SQLFetch(reader_.get());
    if (rc == SQL_NO_DATA) {
      SQLFreeStmt(reader_.get(), SQL_CLOSE);
      return false;
    }
    requireOdbc(rc, "fetch");
    for (std::size_t c = 0; c < row.size(); ++c) readText(static_cast<SQLUSMALLINT>(c + 1), row[c]);
    return true;
  }

 private:
  ado::odbc::StatementHandle newStatement() {
    SQLHANDLE raw = SQL_NULL_HANDLE;
    requireOdbc(SQLAllocHandle(SQL_HANDLE_STMT, connection_.get(), &raw), "statement");
    return ado::odbc::StatementHandle(raw);
  }

  // Reads a value a buffer at a time. The buffer is small because some
  // drivers (SQLite's) strncpy into it, which pads all of it with zeros.
  void readText(SQLUSMALLINT column, std::optional<std::string>& value) {
    value.emplace();
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN rc = SQLGetData(reader_.get(), column, SQL_C_CHAR, buffer_, sizeof buffer_, &indicator);
      if (rc == SQL_NO_DATA) return;
      requireOdbc(rc, "get data");
      if (indicator == SQL_NULL_DATA) {
        value.reset();
        return;
      }
      const std::size_t room = sizeof buffer_ - 1;
      const bool more = indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > room;
      value->append(buffer_, more ? room : static_cast<std::size_t>(indicator));
      if (!more) return;
    }
  }

  ado::odbc::EnvironmentHandle environment_;
  ado::odbc::ConnectionHandle connection_;
  ado::odbc::StatementHandle statement_;
  ado::odbc::StatementHandle reader_;
  char buffer_[256];
};

}  // namespace bench
