// CREATE TABLE in files Access made, read back by our reader, mdbtools and
// mdb-reader, with the catalog's indexes checked against its rows.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixture_pages.h"
#include "index_audit.h"
#include "jet/database/database.h"
#include "jet/database/database_writer.h"
#include "jet/error.h"
#include "jet/error_numbers.h"
#include "jet/sql/parser.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::copyFixture;

using jetwrite_test::run;

class CreateTable : public ::testing::TestWithParam<const char*> {};

TEST_P(CreateTable, EveryTypeReadsBackEverywhere) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, GetParam());
  {
    DatabaseWriter writer(path, "");
    run(writer,
        "CREATE TABLE `Order Details`(`id` COUNTER,`name` VARCHAR,`code` TEXT(10),`qty` SMALLINT,"
        "`small` BYTE,`price` CURRENCY,`ratio` REAL,`weight` FLOAT,`when` DATETIME,`paid` BIT,"
        "`amount` DECIMAL(12,2),`notes` MEMO,`photo` OLEOBJECT,`raw` BINARY(8),`key` GUID,`n` INT);");
    run(writer,
        "INSERT INTO `Order Details` VALUES(NULL, 'O''Neil', 'A-1', '12', '255', '1234.5678', "
        "'0.5', '-3.25', '2024-03-01 12:00:00', 'True', '-12.345', 'Grüße 😀', 'ab', 'xy', "
        "'{00112233-4455-6677-8899-AABBCCDDEEFF}', '7')");
    run(writer,
        "INSERT INTO `Order Details` VALUES(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
        "NULL, 'False', NULL, NULL, NULL, NULL, NULL, NULL)");
  }
  auto db = Database::open(path, "");
  const Table t = db->table("order details");
  ASSERT_EQ(t.columns().size(), 16u);
  EXPECT_EQ(t.columns()[0].name, "id");
  EXPECT_EQ(t.columns()[2].length, 20);
  RowCursor rows = t.rows();
  std::vector<Value> row;
  ASSERT_TRUE(rows.next(row));
  EXPECT_EQ(row[0], Value(std::int32_t{1}));
  EXPECT_EQ(row[1], Value(std::string("O'Neil")));
  EXPECT_EQ(row[3], Value(std::int16_t{12}));
  EXPECT_EQ(row[4], Value(std::uint8_t{255}));
  EXPECT_EQ(row[5], Value(Currency{12345678}));
  EXPECT_EQ(row[6], Value(0.5f));
  EXPECT_EQ(row[7], Value(-3.25));
  EXPECT_EQ(row[8], Value(DateTime{45352.5}));
  EXPECT_EQ(row[9], Value(true));
  EXPECT_EQ(row[10], Value(Numeric{true, 12, 2, 1234}));
  EXPECT_EQ(row[11], Value(std::string("Grüße 😀")));
  EXPECT_EQ(row[15], Value(std::int32_t{7}));
  ASSERT_TRUE(rows.next(row));
  EXPECT_EQ(row[0], Value(std::int32_t{2}));
  EXPECT_EQ(row[1], Value(std::monostate{}));
  EXPECT_EQ(row[9], Value(false));
  EXPECT_FALSE(rows.next(row));

  const auto tables = jetwrite_test::runCommand("mdb-tables -1 " + jetwrite_test::quoted(path));
  EXPECT_NE(tables.output.find("Order Details"), std::string::npos) << tables.output;
  const auto schema = jetwrite_test::runCommand("mdb-schema " + jetwrite_test::quoted(path));
  EXPECT_EQ(schema.status, 0);
  EXPECT_NE(schema.output.find("[code]\t\t\tText (10)"), std::string::npos) << schema.output;
  const auto exported = jetwrite_test::mdbExport(path, "Order Details");
  EXPECT_NE(exported.output.find("1,\"O'Neil\",\"A-1\",12,255,1234.5678"), std::string::npos)
      << exported.output;
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");
  if (!jetwrite_test::haveMdbReader()) SKIP_WITHOUT_ORACLE("mdb-reader is not installed");
  const auto js = jetwrite_test::withMdbReader(path,
                                               "const t=db.getTable(\"Order Details\");const r=t.getData();"
                                               "console.log(db.getTableNames().includes(\"Order Details\"), "
                                               "r.length, r[0].name, r[0].notes, r[0].amount);");
  EXPECT_EQ(js.output, "true 2 O'Neil Grüße 😀 -12.34\n");
}

INSTANTIATE_TEST_SUITE_P(Formats, CreateTable,
                         ::testing::Values("jet4/adox_jet4.mdb", "jet4/empty2003.mdb",
                                           "ace12/empty2007.accdb", "ace14/empty2010.accdb",
                                           "ace16/empty2016.accdb"));

TEST(CreateTableErrors, ExistingNamesAndBadNames) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/empty2003.mdb");
  DatabaseWriter writer(path, "");
  run(writer, "CREATE TABLE `t`(`a` INT)");
  try {
    run(writer, "CREATE TABLE `T`(`a` INT)");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.description(), "Table 'T' already exists.");
  }
  EXPECT_THROW(run(writer, "CREATE TABLE `u`(`a` INT,`A` TEXT)"), Error);
  EXPECT_THROW(run(writer, "CREATE TABLE `a.b`(`a` INT)"), Error);
  EXPECT_THROW(run(writer, "CREATE TABLE ` lead`(`a` INT)"), Error);
  EXPECT_THROW(run(writer, "CREATE TABLE `" + std::string(65, 'x') + "`(`a` INT)"), Error);
  EXPECT_THROW(run(writer, "CREATE TABLE `MSysObjects`(`a` INT)"), Error);
}

TEST(CreateTableNames, NonAsciiLettersOrAClearRefusal) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "ace14/empty2010.accdb");
  DatabaseWriter writer(path, "");
  run(writer, "CREATE TABLE `Kündigungen Łódź`(`Straße` TEXT(20),`Größe` INT)");
  run(writer, "INSERT INTO `Kündigungen Łódź` VALUES('Hauptstraße', '3')");
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");
  const auto tables = jetwrite_test::runCommand("mdb-tables -1 " + jetwrite_test::quoted(path));
  EXPECT_EQ(tables.output, "Kündigungen Łódź\n");
  // Characters outside the BMP have no sort keys in the General order: refused whole.
  const auto before = jetwrite_test::readFile(path);
  try {
    run(writer, "CREATE TABLE `Заказы 😀`(`a` INT)");
    FAIL();
  } catch (const Error& e) {
    EXPECT_NE(e.description().find("U+D83D"), std::string::npos) << e.description();
  }
  EXPECT_EQ(jetwrite_test::readFile(path), before);
}

TEST(CreateTableWide, ADefinitionOverSeveralPages) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/empty2003.mdb");
  std::string create = "CREATE TABLE `wide`(";
  std::string insert = "INSERT INTO `wide` VALUES(";
  for (int i = 0; i < 200; ++i) {
    create += std::string(i ? "," : "") + "`a rather long column name " + std::to_string(i) + "` " +
              (i % 3 == 0   ? "INT"
               : i % 3 == 1 ? "TEXT(10)"
                            : "MEMO");
    insert += std::string(i ? "," : "") + "'" + std::to_string(i) + "'";
  }
  {
    DatabaseWriter writer(path, "");
    run(writer, create + ");");
    run(writer, insert + ")");
  }
  auto db = Database::open(path, "");
  const Table t = db->table("wide");
  ASSERT_EQ(t.columns().size(), 200u);
  EXPECT_EQ(t.columns()[199].name, "a rather long column name 199");
  RowCursor rows = t.rows();
  std::vector<Value> row;
  ASSERT_TRUE(rows.next(row));
  EXPECT_EQ(row[0], Value(std::int32_t{0}));
  EXPECT_EQ(row[199], Value(std::string("199")));
  const auto exported = jetwrite_test::mdbExport(path, "wide");
  EXPECT_EQ(exported.status, 0);
  EXPECT_EQ(exported.output.substr(0, 6), "0,\"1\",") << exported.output.substr(0, 100);
  if (!jetwrite_test::haveMdbReader()) SKIP_WITHOUT_ORACLE("mdb-reader is not installed");
  const auto js = jetwrite_test::withMdbReader(
      path, "const r=db.getTable(\"wide\").getData()[0];console.log(r[\"a rather long column name 199\"]);");
  EXPECT_EQ(js.output, "199\n");
}

TEST(CreateTableCatalog, HundredsOfTablesSplitTheCatalogIndexes) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/empty2003.mdb");
  {
    DatabaseWriter writer(path, "");
    for (int i = 0; i < 300; ++i)
      run(writer, "CREATE TABLE `Table number " + std::to_string(i) + "`(`a` INT,`b` MEMO)");
  }
  const auto audit = jetwrite_test::auditIndex(path, "MSysObjects", 0);
  EXPECT_GE(audit.depth, 2u);
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");
  const auto tables = jetwrite_test::runCommand("mdb-tables -1 " + jetwrite_test::quoted(path));
  EXPECT_EQ(std::count(tables.output.begin(), tables.output.end(), '\n'), 300);
  auto db = Database::open(path, "");
  EXPECT_EQ(db->table("Table number 299").columns().size(), 2u);
}

}  // namespace
}  // namespace jet::write
