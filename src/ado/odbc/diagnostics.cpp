#include "ado/odbc/diagnostics.h"

#include <sqlext.h>

#include <algorithm>
#include <vector>

#include "ado/error.h"

namespace ado::odbc {

std::int32_t hresultForSqlState(std::string_view sqlState) {
  const std::string_view sqlClass = sqlState.substr(0, 2);
  if (sqlClass == "42") return errc::kSyntaxError;
  if (sqlClass == "28") return errc::kInvalidPassword;
  if (sqlClass == "23") return errc::kIntegrityViolation;
  if (sqlState == "22003") return errc::kDataOverflow;
  if (sqlClass == "22") return errc::kCantConvertValue;
  return errc::kProviderFailure;
}

std::string withoutSecret(std::string text, std::string_view secret) {
  if (secret.empty()) return text;
  constexpr std::string_view kMask = "***";
  for (auto at = text.find(secret); at != std::string::npos; at = text.find(secret, at + kMask.size()))
    text.replace(at, secret.size(), kMask);
  return text;
}

void raiseDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, std::string_view secret) {
  SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
  SQLINTEGER nativeError = 0;
  SQLSMALLINT length = 0;
  std::vector<SQLCHAR> message(SQL_MAX_MESSAGE_LENGTH);
  SQLRETURN rc = SQLGetDiagRec(handleType, handle, 1, state, &nativeError, message.data(),
                               static_cast<SQLSMALLINT>(message.size()), &length);
  if (rc == SQL_SUCCESS_WITH_INFO && static_cast<std::size_t>(length) >= message.size()) {
    message.resize(static_cast<std::size_t>(length) + 1);
    rc = SQLGetDiagRec(handleType, handle, 1, state, &nativeError, message.data(),
                       static_cast<SQLSMALLINT>(message.size()), &length);
  }
  if (!SQL_SUCCEEDED(rc)) throw Error(errc::kProviderFailure, "The ODBC call failed without a diagnostic.");

  const std::size_t textLength = std::min(static_cast<std::size_t>(length), message.size() - 1);
  std::string text(reinterpret_cast<const char*>(message.data()), textLength);
  const std::string_view sqlState(reinterpret_cast<const char*>(state), SQL_SQLSTATE_SIZE);
  throw Error(hresultForSqlState(sqlState), withoutSecret(std::move(text), secret));
}

}  // namespace ado::odbc
