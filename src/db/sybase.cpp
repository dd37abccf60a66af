#include "db/sybase.h"

#include <QCoreApplication>
#include <QListWidget>
#include <exception>

#include "ado/connection.h"
#include "ado/data_type.h"
#include "ado/recordset.h"
#include "db/schema_tables.h"
#include "db/sql_name_check.h"
#include "db/table_list.h"

namespace db {

QString QuoteOdbcName(const QString& name) {
  return kOdbcQuote + name + kOdbcQuote;
}

QString SybaseDropTableStatement(const QString& name) {
  return QStringLiteral("DROP TABLE ") + QuoteOdbcName(name);
}

QString SybaseConnectionString(const QString& dataSourceName) {
  return QStringLiteral("Data Source=") + dataSourceName;
}

void OpenSybaseConnection(ado::Connection& connection, const ConnectionFields& fields) {
  connection.setProvider(kOdbcProvider);
  connection.open(SybaseConnectionString(fields.dataSourceName()).toStdString());
}

bool CanConnectSybase(const ConnectionFields& fields, const ConnectionFactory& connections) {
  try {
    const auto connection = CreateConnection(connections);
    OpenSybaseConnection(*connection, fields);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void FillSybaseTableList(QListWidget& list, const ConnectionFields& fields,
                         const ConnectionFactory& connections) {
  const auto made = CreateConnection(connections);
  ado::Connection& connection = *made;
  OpenSybaseConnection(connection, fields);
  const auto schema = connection.openSchema(ado::adSchemaTables);
  list.clear();
  ForEachUserTable(*schema, [&list](const QString& name) {
    QCoreApplication::processEvents();
    // The catalog's own tables (SYSTABLE, ISYSCOLUMN, ...) all carry "SYS".
    if (!name.toUpper().contains(QStringLiteral("SYS"))) AddTableName(list, name);
  });
  schema->close();
  connection.close();
}

}  // namespace db
