#include "db/access.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QListWidget>

#include "ado/connection.h"
#include "ado/data_type.h"
#include "ado/recordset.h"
#include "db/error_info.h"
#include "db/file_exists.h"
#include "db/schema_tables.h"
#include "db/sql_name_check.h"
#include "db/table_list.h"

namespace db {

namespace {

void openAccess(ado::Connection& connection, const ConnectionFields& fields, const QString& path,
                const QString& password) {
  connection.open(AccessConnectionString(fields, path, password).toStdString());
}

void execute(ado::Connection& connection, const QString& sql) {
  connection.execute(sql.toStdString());
}

// Access has no statement that renames a table: the rows are copied into
// a new table of the wanted name, then the old table is dropped. Two
// executions without a transaction, so a failing copy leaves the old
// table alone and a failing drop leaves both.
void copyAndDrop(ado::Connection& connection, const QString& from, const QString& to) {
  execute(connection, QStringLiteral("SELECT a1.* INTO ") + QuoteAccessName(to) + QStringLiteral(" FROM ") +
                          QuoteAccessName(from) + QStringLiteral(" AS a1;"));
  execute(connection, QStringLiteral("DROP TABLE ") + QuoteAccessName(from));
}

QString unusedTableName(const QString& path, const QString& password, const ConnectionFields& fields,
                        const ConnectionFactory& connections) {
  for (int n = 1;; ++n) {
    const QString candidate = QStringLiteral("~Rename%1").arg(n);
    if (!AccessTableExists(path, password, candidate, fields, connections)) return candidate;
  }
}

}  // namespace

QString QuoteAccessName(const QString& name) {
  return kAccessQuote + name + kAccessQuote;
}

QString AccessDropTableStatement(const QString& name) {
  return QStringLiteral("DROP TABLE ") + QuoteAccessName(name) + QLatin1Char(';');
}

QString AccessConnectionString(const ConnectionFields& fields, const QString& path, const QString& password) {
  const bool fromPage = path.isEmpty();
  const QString file = fromPage ? fields.accessPath() : path;
  const QString secret = fromPage ? fields.accessPassword() : password;
  // Only the last five characters decide; there is no test for the dot.
  const bool ace = file.right(5).toLower() == QStringLiteral("accdb");
  const QString prefix = ace ? QStringLiteral("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=")
                             : QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=");
  return prefix + file + QStringLiteral(";JET OLEDB:Database Password=") + secret;
}

std::optional<QStringList> GetAccessTables(const QString& path, const ConnectionFields& fields,
                                           Prompter& prompter, const ConnectionFactory& connections) {
  try {
    if (!FileExists(path)) return std::nullopt;
    const auto made = CreateConnection(connections);
    ado::Connection& connection = *made;
    openAccess(connection, fields, {}, {});
    const auto schema = connection.openSchema(ado::adSchemaTables);
    QStringList tables;
    ForEachUserTable(*schema, [&tables](const QString& name) { tables.append(name); });
    schema->close();
    connection.close();
    return tables;
  } catch (...) {
    const ErrorInfo error = CaughtError();
    prompter.messageBox(error.description + QStringLiteral(" (Error Number = ") +
                            QString::number(error.number) + QLatin1Char(')'),
                        kOkOnly);
    return std::nullopt;
  }
}

void FillAccessTableList(QListWidget& list, const QString& path, const ConnectionFields& fields,
                         Prompter& prompter, const ConnectionFactory& connections) {
  list.clear();
  const auto tables = GetAccessTables(path, fields, prompter, connections);
  if (tables) {
    for (const QString& name : *tables) {
      QCoreApplication::processEvents();
      AddTableName(list, name);
    }
  }
  // Qt's plain setCurrentRow would also select the entry.
  if (list.count() > 0) list.setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

bool AccessTableExists(const QString& path, const QString& password, const QString& name,
                       const ConnectionFields& fields, const ConnectionFactory& connections) {
  if (!FileExists(path)) return false;
  const auto made = CreateConnection(connections);
  ado::Connection& connection = *made;
  openAccess(connection, fields, path, password);
  const auto schema = connection.openSchema(ado::adSchemaTables);
  const QString wanted = name.toUpper();
  bool found = false;
  ForEachUserTable(*schema, [&](const QString& table) { found = found || table.toUpper() == wanted; });
  schema->close();
  connection.close();
  return found;
}

bool RenameAccessTable(const QString& oldName, const QString& newName, const QString& path,
                       const QString& password, const ConnectionFields& fields, Prompter& prompter,
                       const ConnectionFactory& connections) {
  // Access compares table names without regard to case, so a new name that
  // equals the old one in any case names the very table being renamed:
  // the overwrite question would offer to drop it before copying it. The
  // same spelling is no change at all; a new spelling of the same name is
  // made through a temporary table, with no question, so that at every
  // moment one of the copies holds the rows.
  RequireSendableName(oldName, kAccessQuote);
  RequireSendableName(newName, kAccessQuote);
  if (newName == oldName) return true;
  const auto made = CreateConnection(connections);
  ado::Connection& connection = *made;
  openAccess(connection, fields, path, password);
  if (newName.toUpper() == oldName.toUpper()) {
    const QString temporary = unusedTableName(path, password, fields, connections);
    copyAndDrop(connection, oldName, temporary);
    copyAndDrop(connection, temporary, newName);
    connection.close();
    return true;
  }
  bool renamed = true;
  if (AccessTableExists(path, password, newName, fields, connections)) {
    const int answer =
        prompter.messageBox(QStringLiteral("Would you like to overwrite ") + newName + QLatin1Char('?'),
                            kYesNo, QStringLiteral("Overwrite?"));
    if (answer == kIdYes) {
      execute(connection, QStringLiteral("DROP TABLE ") + QuoteAccessName(newName));
    } else {
      renamed = false;
    }
  }
  if (renamed) copyAndDrop(connection, oldName, newName);
  connection.close();
  return renamed;
}

}  // namespace db
