// The seam between the ADO-like objects (Connection, Recordset) and the
// engines behind them. A provider opens sessions; a session runs SQL and
// hands back cursors. Connection and Recordset add ADO's behaviour on top
// (client-side buffering, record counts, state checks), so providers stay
// thin. Every failure is raised as ado::Error.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ado/connection_string.h"
#include "ado/variant.h"

namespace ado {

// What a column declares, as ADO's Field reports it: DefinedSize is the
// declared length of a text (characters) or binary (bytes) column,
// Precision and NumericScale the digits of a decimal column. A figure the
// engine does not declare is 0.
struct ColumnInfo {
  std::string name;
  int type = 0;  // ADO DataTypeEnum
  long long definedSize = 0;
  int precision = 0;
  int numericScale = 0;
};

// A forward-only stream of rows.
class Cursor {
 public:
  virtual ~Cursor() = default;
  virtual const std::vector<ColumnInfo>& columns() const = 0;
  // Reads the next row into `row` (resized to columns().size()); false at the end.
  virtual bool fetch(std::vector<Variant>& row) = 0;
  // The number of rows when the engine knows it without reading them, else -1.
  virtual long long knownRowCount() const { return -1; }
};

// What the Connection object was told before open().
struct OpenOptions {
  int cursorLocation = 2;  // adUseServer
  int mode = 0;            // adModeUnknown
};

class Session {
 public:
  virtual ~Session() = default;
  // Runs a statement and discards any result.
  virtual void execute(std::string_view sql) = 0;
  // Opens a cursor over a query.
  virtual std::unique_ptr<Cursor> query(std::string_view sql) = 0;
  // adSchemaTables: rows with at least TABLE_NAME and TABLE_TYPE, in the
  // provider's order.
  virtual std::unique_ptr<Cursor> tables() = 0;
  // The name of the database product behind the session, as ODBC's
  // SQL_DBMS_NAME gives it ("SQL Anywhere", "SQLite", "ACCESS", ...), so
  // that callers can speak its dialect.
  virtual std::string dbmsName() = 0;
};

class Provider {
 public:
  virtual ~Provider() = default;
  virtual std::unique_ptr<Session> open(const ConnectionString& properties, const OpenOptions& options) = 0;
};

}  // namespace ado
