// One connection to a data source: its environment and connection
// handles. Sessions and the cursors they hand out share it, so the
// connection stays up until the last statement on it is gone.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ado/odbc/handle.h"

namespace ado::odbc {

class OdbcLink {
 public:
  // Connects with SQLDriverConnect, never prompting. A failure raises the
  // driver manager's or driver's diagnostic with `secret` masked.
  static std::shared_ptr<OdbcLink> connect(std::string connectionString, std::string_view secret);
  ~OdbcLink();
  OdbcLink(const OdbcLink&) = delete;
  OdbcLink& operator=(const OdbcLink&) = delete;

  StatementHandle newStatement() const;
  // SQLGetInfo(SQL_DBMS_NAME), asked of the driver the first time only.
  const std::string& dbmsName();

 private:
  OdbcLink(EnvironmentHandle environment, ConnectionHandle connection);

  EnvironmentHandle environment_;
  ConnectionHandle connection_;
  std::optional<std::string> dbmsName_;
};

}  // namespace ado::odbc
