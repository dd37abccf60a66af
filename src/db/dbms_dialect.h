// What differs between the database products behind an ODBC data source,
// decided in one place from the product name the driver reports
// (SQL_DBMS_NAME). The program was written for SQL Anywhere; its own
// syntax is kept for it, and every other product gets standard SQL.
#pragma once

#include <QString>
#include <string_view>

namespace ado {
class Connection;
}

namespace db {

class DbmsDialect {
 public:
  explicit DbmsDialect(std::string_view dbmsName);
  // The dialect of the product behind an open connection.
  static DbmsDialect of(ado::Connection& connection);

  // SQL Anywhere, also under its former name Adaptive Server Anywhere.
  bool isSqlAnywhere() const { return sqlAnywhere_; }

  // SQL Anywhere's own `ALTER TABLE "old" RENAME "new";`, which SQLite,
  // PostgreSQL and MySQL reject; every other product gets the standard
  // `ALTER TABLE "old" RENAME TO "new"`. Names go in as they are: check
  // them with RequireSendableName first.
  QString renameTableStatement(const QString& oldName, const QString& newName) const;

  // SQL Anywhere and MySQL/MariaDB read a backslash inside a string
  // literal as the start of an escape ('C:\temp' loses its backslash), so
  // a literal for them carries every backslash doubled; SQLite and
  // PostgreSQL take backslashes as they are.
  bool readsBackslashEscapes() const { return backslashEscapes_; }

 private:
  bool sqlAnywhere_;
  bool backslashEscapes_;
};

}  // namespace db
