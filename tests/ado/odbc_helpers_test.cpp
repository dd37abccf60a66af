// The ODBC provider's small pure pieces: error numbers, password masking,
// connection-string quoting and the type table.
#include <gtest/gtest.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "ado/data_type.h"
#include "ado/error.h"
#include "ado/odbc/diagnostics.h"
#include "ado/odbc/msdasql_provider.h"
#include "ado/odbc/type_map.h"

namespace {

using namespace ado::odbc;

TEST(OdbcDiagnosticsTest, SqlStateChoosesTheHresult) {
  EXPECT_EQ(hresultForSqlState("42S02"), ado::errc::kSyntaxError);
  EXPECT_EQ(hresultForSqlState("28000"), ado::errc::kInvalidPassword);
  EXPECT_EQ(hresultForSqlState("23000"), ado::errc::kIntegrityViolation);
  EXPECT_EQ(hresultForSqlState("22003"), ado::errc::kDataOverflow);
  EXPECT_EQ(hresultForSqlState("22018"), ado::errc::kCantConvertValue);
  EXPECT_EQ(hresultForSqlState("IM002"), -2147467259);
  EXPECT_EQ(hresultForSqlState("HY000"), -2147467259);
}

TEST(OdbcDiagnosticsTest, PasswordsAreMaskedEverywhereInTheText) {
  EXPECT_EQ(withoutSecret("bad PWD=s3cret; s3cret again", "s3cret"), "bad PWD=***; *** again");
  EXPECT_EQ(withoutSecret("nothing to hide", ""), "nothing to hide");
  EXPECT_EQ(withoutSecret("aaaa", "aa"), "******");
}

TEST(OdbcConnectionStringTest, ValuesNeedingItAreBraced) {
  EXPECT_EQ(odbcValue("Sales DB"), "Sales DB");
  EXPECT_EQ(odbcValue("a;b"), "{a;b}");
  EXPECT_EQ(odbcValue("x}y;"), "{x}}y;}");
  EXPECT_EQ(odbcValue(" padded"), "{ padded}");
}

TEST(OdbcTypeMapTest, FollowsTheOdbcProvidersTable) {
  const std::pair<SQLSMALLINT, int> table[] = {{SQL_CHAR, 129},
                                               {SQL_VARCHAR, 200},
                                               {SQL_LONGVARCHAR, 201},
                                               {SQL_WCHAR, 130},
                                               {SQL_WVARCHAR, 202},
                                               {SQL_WLONGVARCHAR, 203},
                                               {SQL_DECIMAL, 131},
                                               {SQL_NUMERIC, 131},
                                               {SQL_TINYINT, 16},
                                               {SQL_SMALLINT, 2},
                                               {SQL_INTEGER, 3},
                                               {SQL_BIGINT, 20},
                                               {SQL_REAL, 4},
                                               {SQL_FLOAT, 5},
                                               {SQL_DOUBLE, 5},
                                               {SQL_BIT, 11},
                                               {SQL_TYPE_DATE, 133},
                                               {SQL_TYPE_TIME, 134},
                                               {SQL_TYPE_TIMESTAMP, 135},
                                               {SQL_BINARY, 128},
                                               {SQL_VARBINARY, 204},
                                               {SQL_LONGVARBINARY, 205},
                                               {SQL_GUID, 72}};
  for (const auto& [sqlType, adoType] : table)
    EXPECT_EQ(mapColumn(sqlType, false).adoType, adoType) << sqlType;
}

TEST(OdbcTypeMapTest, OnlyTinyIntTurnsUnsigned) {
  EXPECT_EQ(mapColumn(SQL_TINYINT, true).adoType, ado::adUnsignedTinyInt);
  EXPECT_EQ(mapColumn(SQL_TINYINT, true).fetch, Fetch::UInt8);
  for (const SQLSMALLINT wider : {SQL_SMALLINT, SQL_INTEGER, SQL_BIGINT})
    EXPECT_EQ(mapColumn(wider, true).adoType, mapColumn(wider, false).adoType);
}

TEST(OdbcTypeMapTest, TypesWithoutAnAdoCounterpartAreReadAsText) {
  EXPECT_EQ(mapColumn(SQL_INTERVAL_DAY, false).adoType, ado::adVarChar);
  EXPECT_EQ(mapColumn(SQL_INTERVAL_DAY, false).fetch, Fetch::Text);
}

}  // namespace
