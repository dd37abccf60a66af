#include "ado/odbc/type_map.h"

#include <sqlext.h>
#include <sqlucode.h>

#include "ado/data_type.h"

namespace ado::odbc {

ColumnMapping mapColumn(SQLSMALLINT sqlType, bool isUnsigned) {
  switch (sqlType) {
    case SQL_CHAR: return {adChar, Fetch::Text};
    case SQL_VARCHAR: return {adVarChar, Fetch::Text};
    case SQL_LONGVARCHAR: return {adLongVarChar, Fetch::Text};
    case SQL_WCHAR: return {adWChar, Fetch::WideText};
    case SQL_WVARCHAR: return {adVarWChar, Fetch::WideText};
    case SQL_WLONGVARCHAR: return {adLongVarWChar, Fetch::WideText};
    case SQL_DECIMAL:
    case SQL_NUMERIC: return {adNumeric, Fetch::Decimal};
    case SQL_TINYINT:
      return isUnsigned ? ColumnMapping{adUnsignedTinyInt, Fetch::UInt8}
                        : ColumnMapping{adTinyInt, Fetch::Int8};
    case SQL_SMALLINT: return {adSmallInt, Fetch::Int16};
    case SQL_INTEGER: return {adInteger, Fetch::Int32};
    case SQL_BIGINT: return {adBigInt, Fetch::Int64};
    case SQL_REAL: return {adSingle, Fetch::Single};
    case SQL_FLOAT:
    case SQL_DOUBLE: return {adDouble, Fetch::Double};
    case SQL_BIT: return {adBoolean, Fetch::Boolean};
    case SQL_TYPE_DATE:
    case SQL_DATE: return {adDBDate, Fetch::Date};
    case SQL_TYPE_TIME:
    case SQL_TIME: return {adDBTime, Fetch::Time};
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return {adDBTimeStamp, Fetch::Date};
    case SQL_BINARY: return {adBinary, Fetch::Bytes};
    case SQL_VARBINARY: return {adVarBinary, Fetch::Bytes};
    case SQL_LONGVARBINARY: return {adLongVarBinary, Fetch::Bytes};
    case SQL_GUID: return {adGUID, Fetch::Guid};
    default: return {adVarChar, Fetch::Text};
  }
}

}  // namespace ado::odbc
