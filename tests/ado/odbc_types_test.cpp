// Column types and values as the MSDASQL provider reports them for real
// SQLite columns. SQLite's driver decides the ODBC type from the declared
// column type; the ADO numbers follow from that.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ado/data_type.h"
#include "ado/recordset.h"
#include "expect_error.h"
#include "odbc_fixture.h"

namespace {

using ado::Variant;

class OdbcTypesTest : public OdbcTest {
 protected:
  // Opens a client-side record set over `sql`.
  void query(const std::vector<std::string>& setup, const std::string& sql) {
    const std::string dsn = createDsn(setup);
    connection_.setCursorLocation(ado::adUseClient);
    openOdbc(connection_, dsn);
    rs_.open(sql, connection_);
  }

  ado::Connection connection_;
  ado::Recordset rs_;
};

TEST_F(OdbcTypesTest, FieldsDeclareTheLengthOfTextAndBinaryColumns) {
  query({"CREATE TABLE t (v VARCHAR(300), b VARBINARY(10), i INTEGER)"}, "SELECT * FROM t");
  EXPECT_EQ(rs_.field("v").definedSize, 300);
  EXPECT_EQ(rs_.field("b").definedSize, 10);
  EXPECT_EQ(rs_.field("i").definedSize, 0);
}

TEST_F(OdbcTypesTest, DeclaredColumnTypesBecomeAdoTypeNumbers) {
  query({"CREATE TABLE t (c_integer INTEGER, c_int INT, c_bigint BIGINT, c_smallint SMALLINT,"
         " c_tinyint TINYINT, c_real REAL, c_float FLOAT, c_double DOUBLE, c_numeric NUMERIC(10,2),"
         " c_text TEXT, c_varchar VARCHAR(20), c_char CHAR(5), c_memo LONGVARCHAR, c_blob BLOB,"
         " c_varbinary VARBINARY(10), c_date DATE, c_time TIME, c_timestamp TIMESTAMP,"
         " c_datetime DATETIME, c_bit BIT, c_boolean BOOLEAN)"},
        "SELECT * FROM t");
  const std::map<std::string, int> expected = {
      {"c_integer", ado::adInteger},      {"c_int", ado::adInteger},
      {"c_bigint", ado::adBigInt},        {"c_smallint", ado::adSmallInt},
      {"c_tinyint", ado::adTinyInt},      {"c_real", ado::adDouble},  // the driver reports SQL_DOUBLE
      {"c_float", ado::adDouble},         {"c_double", ado::adDouble},
      {"c_numeric", ado::adDouble},  // SQLite keeps NUMERIC as a binary double
      {"c_text", ado::adLongVarChar},     {"c_varchar", ado::adVarChar},
      {"c_char", ado::adVarChar},  // the driver reports CHAR as SQL_VARCHAR
      {"c_memo", ado::adLongVarChar},     {"c_blob", ado::adBinary},
      {"c_varbinary", ado::adVarBinary},  {"c_date", ado::adDBDate},
      {"c_time", ado::adDBTime},          {"c_timestamp", ado::adDBTimeStamp},
      {"c_datetime", ado::adDBTimeStamp}, {"c_bit", ado::adBoolean},
      {"c_boolean", ado::adBoolean}};
  ASSERT_EQ(rs_.fieldCount(), static_cast<int>(expected.size()));
  for (int i = 0; i < rs_.fieldCount(); ++i)
    EXPECT_EQ(rs_.field(i).type, expected.at(rs_.field(i).name)) << rs_.field(i).name;
}

TEST_F(OdbcTypesTest, ValuesArriveAsTheirAdoKinds) {
  query({"CREATE TABLE t (i INTEGER, b BIGINT, s SMALLINT, ti TINYINT, d DOUBLE, v VARCHAR(30),"
         " bl BLOB, dt DATE, tm TIME, ts TIMESTAMP, f BIT)",
         "INSERT INTO t VALUES (-5, 9007199254740993, -300, -3, 0.1, 'Zürich ✓', x'00ff10',"
         " '1850-06-01', '10:11:12', '2024-02-29 10:00:00.250', 1)"},
        "SELECT * FROM t");
  EXPECT_EQ(rs_.field("i").value, Variant::int32(-5));
  EXPECT_EQ(rs_.field("b").value, Variant::int64(9007199254740993));
  EXPECT_EQ(rs_.field("s").value, Variant::int16(-300));
  EXPECT_EQ(rs_.field("ti").value, Variant::int8(-3));
  EXPECT_EQ(rs_.field("d").value, Variant::real(0.1));
  EXPECT_EQ(rs_.field("v").value, Variant::text("Zürich ✓"));
  EXPECT_EQ(rs_.field("bl").value, Variant::bytes({0x00, 0xff, 0x10}));
  EXPECT_EQ(rs_.field("dt").value.textForm(), "1850-06-01 00:00:00");
  EXPECT_EQ(rs_.field("tm").value.textForm(), "1899-12-30 10:11:12");
  EXPECT_EQ(rs_.field("ts").value.textForm(), "2024-02-29 10:00:00.25");
  EXPECT_EQ(rs_.field("f").value, Variant::boolean(true));
  EXPECT_EQ(rs_.field("f").value.textForm(), "True");
}

TEST_F(OdbcTypesTest, NullsArriveAsNullInEveryKind) {
  query({"CREATE TABLE t (i INTEGER, d DOUBLE, v VARCHAR(10), bl BLOB, ts TIMESTAMP, f BIT)",
         "INSERT INTO t VALUES (NULL, NULL, NULL, NULL, NULL, NULL)"},
        "SELECT * FROM t");
  for (int i = 0; i < rs_.fieldCount(); ++i) EXPECT_TRUE(rs_.field(i).value.isNull()) << rs_.field(i).name;
}

TEST_F(OdbcTypesTest, LongValuesArriveWhole) {
  query(
      {"CREATE TABLE t (memo TEXT, bl BLOB)",
       "INSERT INTO t VALUES (printf('%.*c', 100000, 'x') || 'end', CAST(zeroblob(70000) || x'ab' AS BLOB))"},
      "SELECT * FROM t");
  EXPECT_EQ(rs_.field("memo").value.as<std::string>(), std::string(100000, 'x') + "end");
  ado::Bytes expected(70000, 0);
  expected.push_back(0xab);
  EXPECT_EQ(rs_.field("bl").value.as<ado::Bytes>(), expected);
}

// Values are read in pieces; lengths on either side of a piece's end
// must neither lose nor repeat a byte.
TEST_F(OdbcTypesTest, TextsOfEveryLengthAroundAPieceBoundaryArriveWhole) {
  const std::vector<std::size_t> lengths = {254, 255, 256, 257, 258, 511, 512, 513, 8191, 8192, 8193};
  std::vector<std::string> setup = {"CREATE TABLE t (n INTEGER, v TEXT)"};
  for (const std::size_t n : lengths)
    setup.push_back("INSERT INTO t VALUES (" + std::to_string(n) + ", printf('%.*c', " +
                    std::to_string(n - 1) + ", 'a') || 'z')");
  query(setup, "SELECT n, v FROM t ORDER BY n");
  for (const std::size_t n : lengths) {
    ASSERT_FALSE(rs_.eof());
    EXPECT_EQ(rs_.field("v").value.as<std::string>(), std::string(n - 1, 'a') + "z") << n;
    rs_.moveNext();
  }
}

TEST_F(OdbcTypesTest, AValueTooWideForItsReportedTypeRaisesInsteadOfWrapping) {
  const std::string dsn = createDsn({"CREATE TABLE t (i INTEGER)", "INSERT INTO t VALUES (5000000000)"});
  openOdbc(connection_, dsn);
  expectAdoError(ado::errc::kDataOverflow, [&] { rs_.open("SELECT i FROM t", connection_); });
}

TEST_F(OdbcTypesTest, TextFormsSurviveACopyIntoAnotherTable) {
  query({"CREATE TABLE src (d DOUBLE, ts TIMESTAMP, v VARCHAR(10))",
         "INSERT INTO src VALUES (0.30000000000000004, '1601-01-01 23:59:59', 'a''b')",
         "CREATE TABLE dst (d DOUBLE, ts TIMESTAMP, v VARCHAR(10))"},
        "SELECT * FROM src");
  std::string insert = "INSERT INTO dst VALUES (" + rs_.field("d").value.textForm() + ", '" +
                       rs_.field("ts").value.textForm() + "', 'a''b')";
  connection_.execute(insert);
  ado::Recordset copy;
  copy.open("SELECT * FROM dst", connection_);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(copy.field(i).value, rs_.field(i).value) << copy.field(i).name;
}

}  // namespace
