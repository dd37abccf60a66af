// Reads one column of the current row with SQLGetData in the C type that
// its Fetch plan names. Keeps one scratch buffer for long values, so a
// cursor reuses it from row to row.
#pragma once

#include <sql.h>

#include <string>

#include "ado/odbc/type_map.h"
#include "ado/variant.h"

namespace ado::odbc {

class ValueReader {
 public:
  Variant read(SQLHSTMT statement, SQLUSMALLINT column, Fetch fetch);

 private:
  // Appends the whole value to `out`, piece by piece; false when NULL.
  bool readLong(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, std::string& out);
  Variant readInteger(SQLHSTMT statement, SQLUSMALLINT column, Fetch fetch);
  Variant readDecimal(SQLHSTMT statement, SQLUSMALLINT column);
  Variant readTimestamp(SQLHSTMT statement, SQLUSMALLINT column);
  Variant readTime(SQLHSTMT statement, SQLUSMALLINT column);
  Variant readGuid(SQLHSTMT statement, SQLUSMALLINT column);

  std::string scratch_;
};

}  // namespace ado::odbc
