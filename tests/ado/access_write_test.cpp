// Statements sent to an Access file through ado::Connection, as the copy
// into Access and the table commands send them, read back through
// ado::Recordset on the real engine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/data_type.h"
#include "ado/recordset.h"
#include "expect_error.h"
#include "jet/database/new_database.h"
#include "jet/error.h"
#include "jetwrite/temp_dir.h"

namespace {

using ado::Variant;

std::string connectionString(const std::string& path) {
  return "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";JET OLEDB:Database Password=";
}

// A value list the way the copy into Access writes it: every value quoted,
// quotes doubled, NULL for a null or empty text.
std::string insertOf(const std::string& table, const std::vector<Variant>& values) {
  std::string sql = "INSERT INTO `" + table + "` VALUES(";
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) sql += ", ";
    const std::string text = values[i].textForm();
    if (text.empty()) {
      sql += "NULL";
      continue;
    }
    sql += '\'';
    for (char c : text) sql += c == '\'' ? std::string("''") : std::string(1, c);
    sql += '\'';
  }
  return sql + ")";
}

std::vector<std::vector<Variant>> rowsOf(ado::Connection& connection, const std::string& table) {
  ado::Recordset records;
  records.open("SELECT * FROM `" + table + "`", connection);
  std::vector<std::vector<Variant>> rows;
  for (; !records.eof(); records.moveNext()) {
    std::vector<Variant>& row = rows.emplace_back();
    for (int i = 0; i < records.fieldCount(); ++i) row.push_back(records.field(i).value);
  }
  return rows;
}

std::vector<std::string> userTables(ado::Connection& connection) {
  const auto schema = connection.openSchema(ado::adSchemaTables);
  std::vector<std::string> names;
  for (; !schema->eof(); schema->moveNext())
    if (schema->field("TABLE_TYPE").value.textForm() == "TABLE")
      names.push_back(schema->field("TABLE_NAME").value.textForm());
  return names;
}

class AccessWrite : public testing::TestWithParam<jet::write::NewFormat> {
 protected:
  AccessWrite() {
    jet::write::createDatabase(path, GetParam());
    connection.open(connectionString(path));
  }

  jetwrite_test::TempDir folder;
  std::string path = folder.file("target.mdb");
  ado::Connection connection;
};

constexpr const char* kMixedTable =
    "CREATE TABLE `mixed`(`name` VARCHAR,`n` INT,`ratio` FLOAT,`price` CURRENCY,`when` DATETIME,"
    "`flag` BIT,`amount` DECIMAL(18,2),`notes` MEMO);";

TEST_P(AccessWrite, ValuesInTheirTextFormsComeBackAsTheSameValues) {
  connection.execute(kMixedTable);
  const std::vector<std::vector<Variant>> rows = {
      {Variant::text("O'Neil"), Variant::int32(-12), Variant::real(0.1), Variant::currency({125000}),
       Variant::date({45351.5}), Variant::boolean(true), Variant::decimal({true, 2, 1250}),
       Variant::text("Zażółć gęślą jaźń")},
      // Before 1899-12-30 the day counts down while the time still counts up.
      {Variant::text("x"), Variant::int32(2147483647), Variant::real(-2.5e-07), Variant::currency({-1}),
       Variant::date({-18105.25}), Variant::boolean(false), Variant::decimal({false, 2, 7}),
       Variant::text(std::string(3000, 'm'))},
  };
  for (const auto& row : rows) connection.execute(insertOf("mixed", row));
  EXPECT_EQ(rowsOf(connection, "mixed"), rows);
}

TEST_P(AccessWrite, FieldsDeclareTheirSizePrecisionAndScale) {
  connection.execute("CREATE TABLE `declared`(`t` TEXT(50), `d` DECIMAL(18,4), `b` BINARY(8))");
  ado::Recordset rs;
  rs.open("SELECT * FROM `declared`", connection);
  EXPECT_EQ(rs.field("t").definedSize, 50);
  EXPECT_EQ(rs.field("d").precision, 18);
  EXPECT_EQ(rs.field("d").numericScale, 4);
  EXPECT_EQ(rs.field("b").definedSize, 8);
}

TEST_P(AccessWrite, NullsAreStoredAsNulls) {
  connection.execute(kMixedTable);
  connection.execute("INSERT INTO `mixed` VALUES(NULL, NULL, NULL, NULL, NULL, 'False', NULL, NULL)");
  const auto rows = rowsOf(connection, "mixed");
  ASSERT_EQ(rows.size(), 1u);
  for (std::size_t i = 0; i < rows[0].size(); ++i) {
    // A Yes/No column has no null: Access keeps it a plain No.
    if (i == 5) {
      EXPECT_EQ(rows[0][i], Variant::boolean(false));
    } else {
      EXPECT_TRUE(rows[0][i].isNull()) << "column " << i;
    }
  }
}

TEST_P(AccessWrite, ARejectedInsertLeavesNoRowAndTheNextOneGoesIn) {
  connection.execute("CREATE TABLE `t`(`s` VARCHAR(5),`n` INT)");
  connection.execute("INSERT INTO `t` VALUES('one', '1')");
  // The value that does not convert is the last one: nothing of the row
  // may stay behind once it fails.
  expectAdoError(-2147217913, [&] { connection.execute("INSERT INTO `t` VALUES('two', 'x')"); });
  expectAdoError(-2147217833, [&] { connection.execute("INSERT INTO `t` VALUES('big', '99999999999')"); });
  expectAdoError(-2147217833, [&] { connection.execute("INSERT INTO `t` VALUES('too long', '3')"); });
  connection.execute("INSERT INTO `t` VALUES('four', '4')");
  const std::vector<std::vector<Variant>> expected = {{Variant::text("one"), Variant::int32(1)},
                                                      {Variant::text("four"), Variant::int32(4)}};
  EXPECT_EQ(rowsOf(connection, "t"), expected);
}

TEST_P(AccessWrite, ReadsAfterWritesSeeNewTablesRowsAndDrops) {
  EXPECT_EQ(userTables(connection), std::vector<std::string>{});
  connection.execute("CREATE TABLE `b`(`n` INT)");
  connection.execute("CREATE TABLE `a`(`n` INT)");
  EXPECT_EQ(userTables(connection), (std::vector<std::string>{"a", "b"}));
  connection.execute("INSERT INTO `a` VALUES('5')");
  EXPECT_EQ(rowsOf(connection, "a").size(), 1u);
  connection.execute("INSERT INTO `a` VALUES('6')");
  EXPECT_EQ(rowsOf(connection, "a").size(), 2u);
  connection.execute("DROP TABLE `a`;");
  EXPECT_EQ(userTables(connection), std::vector<std::string>{"b"});
  expectAdoError(jet::errc::kNoSuchTable, [&] { rowsOf(connection, "a"); });
  // What this connection wrote is in the file for the next one.
  connection.close();
  ado::Connection later;
  later.open(connectionString(path));
  EXPECT_EQ(userTables(later), std::vector<std::string>{"b"});
}

TEST_P(AccessWrite, APlainSelectRunsForNothingButItsTable) {
  connection.execute("CREATE TABLE `t`(`n` INT)");
  connection.execute("SELECT * FROM `t`");
  expectAdoError(jet::errc::kNoSuchTable, [&] { connection.execute("SELECT * FROM `missing`"); });
  EXPECT_EQ(rowsOf(connection, "t").size(), 0u);
}

TEST_P(AccessWrite, AStatementThatReturnsNoRowsIsNoRecordSource) {
  ado::Recordset records;
  const ado::Error e =
      expectAdoError(ado::errc::kSyntaxError, [&] { records.open("CREATE TABLE `t`(`n` INT)", connection); });
  EXPECT_NE(e.description().find("returns no rows"), std::string::npos) << e.description();
  EXPECT_EQ(userTables(connection), std::vector<std::string>{});
}

TEST_P(AccessWrite, OneWriterAtATime) {
  ado::Connection second;
  second.open(connectionString(path));
  connection.execute("CREATE TABLE `t`(`n` INT)");
  // Reading beside a writer is fine; writing is not.
  EXPECT_EQ(userTables(second), std::vector<std::string>{"t"});
  expectAdoError(
      jet::errc::kFileInUse, [&] { second.execute("INSERT INTO `t` VALUES('1')"); },
      "Could not use '" + path + "'; file already in use.");
  connection.close();
  second.execute("INSERT INTO `t` VALUES('1')");
  EXPECT_EQ(rowsOf(second, "t").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(NewFiles, AccessWrite,
                         testing::Values(jet::write::NewFormat::Jet4, jet::write::NewFormat::Ace12),
                         [](const auto& info) {
                           return info.param == jet::write::NewFormat::Jet4 ? "Jet4" : "Ace12";
                         });

TEST(AccessWriteRefused, AnAccess97FileIsReadButNotChanged) {
  jetwrite_test::TempDir folder;
  const std::string path = folder.file("old.mdb");
  std::filesystem::copy_file(std::string(FERROVALE_FIXTURE_DIR) + "/jet3/testV1997.mdb", path);
  std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  const auto before = std::filesystem::file_size(path);
  ado::Connection connection;
  connection.open(connectionString(path));
  const std::vector<std::string> tables = userTables(connection);
  ASSERT_FALSE(tables.empty());
  const ado::Error e =
      expectAdoError(jet::errc::kFailure, [&] { connection.execute("CREATE TABLE `new`(`n` INT)"); });
  EXPECT_NE(e.description().find("Access 97 databases can be read but not written"), std::string::npos)
      << e.description();
  EXPECT_EQ(userTables(connection), tables);
  EXPECT_NO_THROW(rowsOf(connection, tables.front()));
  EXPECT_EQ(std::filesystem::file_size(path), before);
}

}  // namespace
