// Module Sybase: the SQL Anywhere database behind an ODBC data source
// name. Every ODBC connection of the program is opened the way fixed
// here, with the data source name read from the connection page at the
// moment of the call.
#pragma once

#include <QString>

#include "db/connection_factory.h"
#include "db/connection_fields.h"

class QListWidget;

namespace ado {
class Connection;
}

namespace db {

inline constexpr char kOdbcProvider[] = "MSDASQL";

// "\"" + name + "\"": how SQL toward the data source quotes names.
QString QuoteOdbcName(const QString& name);

// "DROP TABLE " + the quoted name, with nothing after it.
QString SybaseDropTableStatement(const QString& name);

// "Data Source=" + the name, unquoted, with nothing else: the data source
// carries user, password and server.
QString SybaseConnectionString(const QString& dataSourceName);

// Sets the provider and opens the connection for Text3's current name.
void OpenSybaseConnection(ado::Connection& connection, const ConnectionFields& fields);

// True when the data source opens; any failure to open, an empty name
// included, answers false without a message.
bool CanConnectSybase(const ConnectionFields& fields, const ConnectionFactory& connections);

// Refills `list` with the data source's user tables, leaving out every
// name that contains "SYS" in any letter case. The list is cleared only
// once the data source and its schema have opened, so a failure to reach
// them (raised to the caller) keeps the old entries. Yields to the event
// loop once per user-table row; makes no entry current.
void FillSybaseTableList(QListWidget& list, const ConnectionFields& fields,
                         const ConnectionFactory& connections);

}  // namespace db
