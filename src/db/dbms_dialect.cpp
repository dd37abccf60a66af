#include "db/dbms_dialect.h"

#include "ado/connection.h"
#include "db/sybase.h"

namespace db {

namespace {

bool names(const QString& product, const char* name) {
  return product.contains(QLatin1String(name), Qt::CaseInsensitive);
}

}  // namespace

DbmsDialect::DbmsDialect(std::string_view dbmsName) {
  const QString product = QString::fromUtf8(dbmsName.data(), static_cast<qsizetype>(dbmsName.size()));
  sqlAnywhere_ = names(product, "SQL Anywhere") || names(product, "Adaptive Server Anywhere");
  backslashEscapes_ = sqlAnywhere_ || names(product, "MySQL") || names(product, "MariaDB");
}

DbmsDialect DbmsDialect::of(ado::Connection& connection) {
  return DbmsDialect(connection.dbmsName());
}

QString DbmsDialect::renameTableStatement(const QString& oldName, const QString& newName) const {
  const QString table = QStringLiteral("ALTER TABLE ") + QuoteOdbcName(oldName);
  if (sqlAnywhere_) return table + QStringLiteral(" RENAME ") + QuoteOdbcName(newName) + QLatin1Char(';');
  return table + QStringLiteral(" RENAME TO ") + QuoteOdbcName(newName);
}

}  // namespace db
