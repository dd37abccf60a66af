// The MSDASQL provider against real SQLite data sources: opening, errors,
// statements, schema rows and record counts.
#include <gtest/gtest.h>

#include <filesystem>

#include "ado/data_type.h"
#include "ado/recordset.h"
#include "expect_error.h"
#include "odbc_fixture.h"

namespace {

using ado::errc::kProviderFailure;

const std::vector<std::string> kThreeCities = {
    "CREATE TABLE cities (id INTEGER, name VARCHAR(40))",
    "INSERT INTO cities VALUES (1, 'Lyon'), (2, 'Graz'), (3, 'Turku')"};

TEST_F(OdbcTest, OpensAnExistingDataSource) {
  const std::string dsn = createDsn();
  ado::Connection connection;
  openOdbc(connection, dsn);
  EXPECT_TRUE(connection.isOpen());
  EXPECT_EQ(connection.provider(), "MSDASQL");
  connection.close();
  EXPECT_FALSE(connection.isOpen());
}

TEST_F(OdbcTest, ProviderNamedOnlyInTheStringOpensToo) {
  const std::string dsn = createDsn();
  ado::Connection connection;
  connection.open("PROVIDER=MSDASQL;Data Source=" + dsn);
  EXPECT_TRUE(connection.isOpen());
}

TEST_F(OdbcTest, AMissingDataSourceRaisesTheDriverManagersText) {
  ado::Connection connection;
  expectAdoError(
      kProviderFailure, [&] { openOdbc(connection, test_support::OdbcSandbox::kUnknownDsn); },
      "[unixODBC][Driver Manager]Data source name not found and no default driver specified");
  EXPECT_FALSE(connection.isOpen());
}

TEST_F(OdbcTest, AnEmptyDataSourceNameFailsWithoutReachingADriver) {
  const auto countEntries = [] {
    return std::distance(std::filesystem::directory_iterator(std::filesystem::current_path()),
                         std::filesystem::directory_iterator());
  };
  const auto entries = countEntries();
  ado::Connection connection;
  const ado::Error e = expectAdoError(kProviderFailure, [&] { openOdbc(connection, ""); });
  EXPECT_FALSE(e.description().empty());
  EXPECT_FALSE(connection.isOpen());
  EXPECT_EQ(countEntries(), entries);  // SQLite's driver would have made a file "DSN="
}

TEST_F(OdbcTest, ADataSourceWhoseDriverFailsRaisesTheDriversText) {
  const std::string dsn = test_support::OdbcSandbox::instance().createDsnWithoutDatabase("NoFile");
  ado::Connection connection;
  const ado::Error e = expectAdoError(kProviderFailure, [&] { openOdbc(connection, dsn); });
  EXPECT_EQ(e.description().rfind("[SQLite]", 0), 0u) << e.description();
}

TEST_F(OdbcTest, APasswordNeverReachesTheErrorText) {
  ado::Connection connection;
  connection.setProvider("MSDASQL");
  const ado::Error e = expectAdoError(kProviderFailure, [&] {
    connection.open(std::string("Data Source=") + test_support::OdbcSandbox::kUnknownDsn +
                    ";User ID=dba;Password=Sesame-42");
  });
  EXPECT_EQ(e.description().find("Sesame-42"), std::string::npos);
}

TEST_F(OdbcTest, StatementErrorsCarryTheDriversText) {
  const std::string dsn = createDsn(kThreeCities);
  ado::Connection connection;
  openOdbc(connection, dsn);
  const ado::Error syntax = expectAdoError(kProviderFailure, [&] { connection.execute("SELEC 1"); });
  EXPECT_EQ(syntax.description(), "[SQLite]near \"SELEC\": syntax error (1)");
  const ado::Error missing =
      expectAdoError(kProviderFailure, [&] { connection.execute("DROP TABLE nowhere"); });
  EXPECT_NE(missing.description().find("no such table: nowhere"), std::string::npos) << missing.description();
  // The failed statement leaves the connection usable.
  connection.execute("DELETE FROM cities WHERE id = 3");
}

TEST_F(OdbcTest, ExecuteIgnoresResultsAndEmptyUpdates) {
  const std::string dsn = createDsn(kThreeCities);
  ado::Connection connection;
  openOdbc(connection, dsn);
  connection.execute("SELECT * FROM cities");  // its rows are dropped, not left pending
  connection.execute("UPDATE cities SET name = 'x' WHERE id = 99");
  connection.execute("INSERT INTO cities VALUES (4, 'Oulu')");

  connection.setCursorLocation(ado::adUseClient);
  ado::Recordset rs;
  rs.open("SELECT COUNT(*) AS n FROM cities", connection);
  EXPECT_EQ(rs.field("n").value.textForm(), "4");
}

TEST_F(OdbcTest, ClientSideRecordCountIsTrueBeforeTheFirstRow) {
  const std::string dsn = createDsn(kThreeCities);
  ado::Connection connection;
  connection.setCursorLocation(ado::adUseClient);
  openOdbc(connection, dsn);
  ado::Recordset rs;
  rs.open("SELECT * FROM cities ORDER BY id", connection, ado::adOpenStatic, ado::adLockOptimistic);
  EXPECT_EQ(rs.recordCount(), 3);
  EXPECT_EQ(rs.field("NAME").value.textForm(), "Lyon");
}

TEST_F(OdbcTest, ServerSideRecordCountIsUnknownButEveryRowArrives) {
  const std::string dsn = createDsn(kThreeCities);
  ado::Connection connection;
  openOdbc(connection, dsn);
  ado::Recordset rs;
  rs.open("SELECT * FROM cities ORDER BY id", connection);
  EXPECT_EQ(rs.recordCount(), -1);
  std::vector<std::string> names;
  for (; !rs.eof(); rs.moveNext()) names.push_back(rs.field(1).value.textForm());
  EXPECT_EQ(names, (std::vector<std::string>{"Lyon", "Graz", "Turku"}));
}

TEST_F(OdbcTest, AQueryErrorCarriesTheDriversTextAndLeavesTheRecordsetClosed) {
  const std::string dsn = createDsn();
  ado::Connection connection;
  openOdbc(connection, dsn);
  ado::Recordset rs;
  const ado::Error e =
      expectAdoError(kProviderFailure, [&] { rs.open("SELECT * FROM \"absent\"", connection); });
  EXPECT_NE(e.description().find("no such table: absent"), std::string::npos) << e.description();
  EXPECT_FALSE(rs.isOpen());
}

TEST_F(OdbcTest, SchemaRowsTellTablesFromViews) {
  const std::string dsn =
      createDsn({"CREATE TABLE Orders (id INTEGER)", "CREATE TABLE customers (id INTEGER)",
                 "CREATE VIEW big_orders AS SELECT * FROM Orders WHERE id > 10"});
  ado::Connection connection;
  openOdbc(connection, dsn);
  const auto schema = connection.openSchema(ado::adSchemaTables);
  EXPECT_EQ(schema->recordCount(), -1);
  std::vector<std::pair<std::string, std::string>> rows;
  for (; !schema->eof(); schema->moveNext())
    rows.emplace_back(schema->field("TABLE_NAME").value.textForm(),
                      schema->field("TABLE_TYPE").value.textForm());
  EXPECT_EQ(rows, (std::vector<std::pair<std::string, std::string>>{
                      {"Orders", "TABLE"}, {"customers", "TABLE"}, {"big_orders", "VIEW"}}));
  EXPECT_NO_THROW((void)schema->field("TABLE_CATALOG"));
  EXPECT_NO_THROW((void)schema->field("DESCRIPTION"));
  schema->close();
  connection.close();
}

TEST_F(OdbcTest, AServerSideRecordsetKeepsWorkingAfterItsConnectionCloses) {
  const std::string dsn = createDsn(kThreeCities);
  ado::Connection connection;
  openOdbc(connection, dsn);
  ado::Recordset rs;
  rs.open("SELECT name FROM cities ORDER BY id", connection);
  connection.close();
  rs.moveNext();
  EXPECT_EQ(rs.field(0).value.textForm(), "Graz");
}

}  // namespace

TEST_F(OdbcTest, NamesTheDatabaseProductBehindTheDataSource) {
  const std::string dsn = createDsn();
  ado::Connection connection;
  expectAdoError(ado::errc::kObjectClosed, [&] { connection.dbmsName(); });
  openOdbc(connection, dsn);
  EXPECT_EQ(connection.dbmsName(), "SQLite");
}
