#include "ado/odbc/odbc_link.h"

#include <sqlext.h>

#include <limits>

#include "ado/error.h"
#include "ado/odbc/diagnostics.h"

namespace ado::odbc {

std::shared_ptr<OdbcLink> OdbcLink::connect(std::string connectionString, std::string_view secret) {
  SQLHANDLE raw = SQL_NULL_HANDLE;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &raw)))
    throw Error(errc::kProviderFailure, "The ODBC driver manager could not allocate an environment.");
  EnvironmentHandle environment(raw);
  check(SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(SQL_OV_ODBC3)), 0),
        SQL_HANDLE_ENV, environment.get());

  raw = SQL_NULL_HANDLE;
  check(SQLAllocHandle(SQL_HANDLE_DBC, environment.get(), &raw), SQL_HANDLE_ENV, environment.get());
  ConnectionHandle connection(raw);

  if (connectionString.size() > static_cast<std::size_t>(std::numeric_limits<SQLSMALLINT>::max()))
    throw Error(errc::kProviderFailure, "The connection string is too long.");
  const SQLRETURN rc = SQLDriverConnect(
      connection.get(), nullptr, reinterpret_cast<SQLCHAR*>(connectionString.data()),
      static_cast<SQLSMALLINT>(connectionString.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) raiseDiagnostics(SQL_HANDLE_DBC, connection.get(), secret);

  return std::shared_ptr<OdbcLink>(new OdbcLink(std::move(environment), std::move(connection)));
}

OdbcLink::OdbcLink(EnvironmentHandle environment, ConnectionHandle connection)
    : environment_(std::move(environment)), connection_(std::move(connection)) {}

OdbcLink::~OdbcLink() {
  SQLDisconnect(connection_.get());
}

StatementHandle OdbcLink::newStatement() const {
  SQLHANDLE raw = SQL_NULL_HANDLE;
  check(SQLAllocHandle(SQL_HANDLE_STMT, connection_.get(), &raw), SQL_HANDLE_DBC, connection_.get());
  return StatementHandle(raw);
}

const std::string& OdbcLink::dbmsName() {
  if (!dbmsName_) {
    // Product names are short; a longer one is cut, which still names it.
    SQLCHAR name[256] = {};
    SQLSMALLINT length = 0;
    check(SQLGetInfo(connection_.get(), SQL_DBMS_NAME, name, sizeof name, &length), SQL_HANDLE_DBC,
          connection_.get());
    dbmsName_ = std::string(reinterpret_cast<const char*>(name));
  }
  return *dbmsName_;
}

}  // namespace ado::odbc
