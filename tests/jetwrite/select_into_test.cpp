// SELECT ... INTO: a new table with the old one's columns and rows and no
// indexes, and the rename the program builds from it and DROP TABLE.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixture_pages.h"
#include "jet/database/database.h"
#include "jet/database/database_writer.h"
#include "jet/error.h"
#include "jet/sql/executor.h"
#include "jet/sql/parser.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::copyFixture;

// The CSV rows mdb-export gives, without the header line.
std::string exportedRows(const std::string& path, const std::string& table) {
  const auto r = jetwrite_test::mdbExport(path, table);
  EXPECT_EQ(r.status, 0) << r.output;
  return r.output;
}

TEST(SelectInto, CopiesColumnsAndRowsButNoIndexes) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "ace12/testV2007.accdb");
  {
    DatabaseWriter writer(path, "");
    sql::execute(writer, sql::parse("SELECT a1.* INTO `Copy of Table1` FROM `Table1` AS a1;"));
  }
  auto db = Database::open(path, "");
  const Table original = db->table("Table1");
  const Table copy = db->table("Copy of Table1");
  ASSERT_EQ(copy.columns().size(), original.columns().size());
  for (std::size_t i = 0; i < copy.columns().size(); ++i) {
    EXPECT_EQ(copy.columns()[i].name, original.columns()[i].name);
    EXPECT_EQ(copy.columns()[i].typeCode, original.columns()[i].typeCode);
    EXPECT_EQ(copy.columns()[i].length, original.columns()[i].length);
  }
  EXPECT_EQ(copy.def().realIndexes, 0u);
  EXPECT_GT(original.def().realIndexes, 0u);
  EXPECT_EQ(exportedRows(path, "Copy of Table1"), exportedRows(path, "Table1"));
}

TEST(SelectInto, CopiesLongValues) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "ace12/blobOleLazyLoading.accdb");
  {
    DatabaseWriter writer(path, "");
    sql::execute(writer, sql::parse("SELECT a1.* INTO `Copied` FROM `OleTable` AS a1;"));
  }
  auto db = Database::open(path, "");
  std::vector<Value> a, b;
  RowCursor ra = db->table("OleTable").rows(), rb = db->table("Copied").rows();
  ASSERT_TRUE(ra.next(a));
  ASSERT_TRUE(rb.next(b));
  EXPECT_EQ(a, b);
  if (!jetwrite_test::haveMdbReader()) SKIP_WITHOUT_ORACLE("mdb-reader is not installed");
  const auto js = jetwrite_test::withMdbReader(
      path,
      "const a=db.getTable(\"OleTable\").getData()[0];const b=db.getTable(\"Copied\").getData()[0];"
      "const k=Object.keys(a).find(x=>Buffer.isBuffer(a[x]));console.log(a[k].length, "
      "Buffer.compare(a[k],b[k]));");
  EXPECT_EQ(js.output, "33245 0\n");
}

TEST(SelectInto, RenameByCopyAndDrop) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "ace12/testV2007.accdb");
  const std::string before = exportedRows(path, "Table3");
  {
    DatabaseWriter writer(path, "");
    sql::execute(writer, sql::parse("SELECT a1.* INTO `Renamed` FROM `Table3` AS a1;"));
    sql::execute(writer, sql::parse("DROP TABLE `Table3`"));
    // A new name equal to the old one must never lose the table.
    EXPECT_THROW(sql::execute(writer, sql::parse("SELECT a1.* INTO `renamed` FROM `Renamed` AS a1;")), Error);
  }
  const auto tables = jetwrite_test::runCommand("mdb-tables -1 " + jetwrite_test::quoted(path));
  EXPECT_EQ(tables.output.find("Table3"), std::string::npos);
  EXPECT_NE(tables.output.find("Renamed"), std::string::npos);
  EXPECT_EQ(exportedRows(path, "Renamed"), before);
}

TEST(SelectInto, PlainSelectIsNotExecuted) {
  jetwrite_test::TempDir dir;
  DatabaseWriter writer(copyFixture(dir, "jet4/empty2003.mdb"), "");
  EXPECT_THROW(sql::execute(writer, sql::parse("SELECT * FROM `MSysObjects`")), Error);
}

}  // namespace
}  // namespace jet::write
