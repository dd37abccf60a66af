// How an ODBC column type is reported (its ADO DataTypeEnum, as MSDASQL
// reports it) and how its values are fetched.
#pragma once

#include <sql.h>

namespace ado::odbc {

enum class Fetch {
  Boolean,
  Int8,
  UInt8,
  Int16,
  Int32,
  Int64,
  Single,
  Double,
  Decimal,
  Date,
  Time,
  Text,
  WideText,
  Bytes,
  Guid
};

struct ColumnMapping {
  int adoType;
  Fetch fetch;
};

// Only TINYINT has a signed and an unsigned ADO type. The signedness of
// wider integers is ignored on purpose: SQLite's driver calls most
// columns unsigned, and an INTEGER must stay adInteger rather than change
// width. Types without an ADO counterpart are read as text (adVarChar).
ColumnMapping mapColumn(SQLSMALLINT sqlType, bool isUnsigned);

}  // namespace ado::odbc
