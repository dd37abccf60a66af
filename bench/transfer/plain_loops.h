// The leanest programs doing the transfers' job, for comparison: no
// page, no error report, no yields; the same statements, written with
// plain string code.
#pragma once

#include <string>

namespace bench {

// Reads the Access table through the engine and sends each row's INSERT
// through bare ODBC, as "Send Table/s To Sybase iAny" writes it.
long long PlainAccessToOdbc(const std::string& accessPath, const std::string& dsn, const std::string& table);

// Reads the data source's table through bare ODBC and runs each row's
// INSERT through Connection::execute into Access, as "Send Table/s To
// Access" writes it; `createStatement` makes the table first.
long long PlainOdbcToAccess(const std::string& dsn, const std::string& table, const std::string& accessPath,
                            const std::string& createStatement);

}  // namespace bench
