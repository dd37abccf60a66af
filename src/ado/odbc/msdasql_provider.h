// "MSDASQL": ODBC data sources through the driver manager. "Data Source="
// names the DSN, used as written; "User ID=" and "Password=", when given,
// go along as UID and PWD.
#pragma once

#include <string>
#include <string_view>

#include "ado/provider.h"

namespace ado::odbc {

// An ODBC connection-string value, in braces when ODBC's syntax needs them.
std::string odbcValue(std::string_view value);

class MsdasqlProvider final : public Provider {
 public:
  std::unique_ptr<Session> open(const ConnectionString& properties, const OpenOptions& options) override;
};

}  // namespace ado::odbc
