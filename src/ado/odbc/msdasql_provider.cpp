#include "ado/odbc/msdasql_provider.h"

#include "ado/error.h"
#include "ado/odbc/odbc_link.h"
#include "ado/odbc/odbc_session.h"

namespace ado::odbc {

std::string odbcValue(std::string_view value) {
  const bool needsBraces = value.find_first_of(";{}") != std::string_view::npos ||
                           (!value.empty() && (value.front() == ' ' || value.back() == ' '));
  if (!needsBraces) return std::string(value);
  std::string braced = "{";
  for (const char c : value) {
    braced.push_back(c);
    if (c == '}') braced.push_back('}');
  }
  braced.push_back('}');
  return braced;
}

std::unique_ptr<Session> MsdasqlProvider::open(const ConnectionString& properties, const OpenOptions&) {
  const std::string dsn = properties.get("Data Source").value_or("");
  // The driver manager would hand an empty name to a driver, and SQLite's
  // driver then creates a database file named after the connection string.
  if (dsn.empty()) throw Error(errc::kProviderFailure, "[MSDASQL]No data source name was given.");

  std::string odbcString = "DSN=" + odbcValue(dsn);
  if (const auto user = properties.get("User ID")) odbcString += ";UID=" + odbcValue(*user);
  const std::string password = properties.get("Password").value_or("");
  if (!password.empty()) odbcString += ";PWD=" + odbcValue(password);

  return std::make_unique<OdbcSession>(OdbcLink::connect(std::move(odbcString), password));
}

}  // namespace ado::odbc
