// Turns a failed ODBC call into ado::Error: the description is the first
// diagnostic record's text as the driver manager or driver wrote it, the
// number an OLE DB style HRESULT chosen by its SQLSTATE.
#pragma once

#include <sql.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace ado::odbc {

std::int32_t hresultForSqlState(std::string_view sqlState);

// Replaces every occurrence of `secret` (when not empty) so that a
// password never reaches an error report.
std::string withoutSecret(std::string text, std::string_view secret);

[[noreturn]] void raiseDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, std::string_view secret = {});

// Raises the diagnostics of `handle` unless `rc` reports success.
inline void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle) {
  if (!SQL_SUCCEEDED(rc)) raiseDiagnostics(handleType, handle);
}

}  // namespace ado::odbc
