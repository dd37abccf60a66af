// DROP TABLE: catalog rows and index entries gone, pages given back, the
// name free for a new table, and every reader agreeing.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixture_pages.h"
#include "index_audit.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/sql/parser.h"
#include "jet/write/database_writer.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::copyFixture;

using jetwrite_test::run;

std::string tableList(const std::string& path) {
  return jetwrite_test::runCommand("mdb-tables -1 " + jetwrite_test::quoted(path)).output;
}

// Whether the global usage map (page 1, row 0) calls `page` free.
bool globallyFree(const std::string& path, std::uint32_t page) {
  const auto file = jetwrite_test::readFile(path);
  const std::span<const std::uint8_t> p(file.data() + 4096, 4096);
  const std::uint16_t start = jetwrite_test::le16(p, 14);
  const std::uint32_t first = jetwrite_test::le32(p, start + 1);
  const std::uint32_t bit = page - first;
  return (p[start + 5 + bit / 8] >> (bit % 8)) & 1;
}

TEST(DropTable, RemovesTheTableAndFreesItsPages) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/empty2003.mdb");
  std::uint32_t tdef = 0;
  {
    DatabaseWriter writer(path, "");
    run(writer, "CREATE TABLE `Keep`(`a` INT)");
    run(writer, "CREATE TABLE `Gone Soon`(`a` INT,`m` MEMO)");
    for (int i = 0; i < 200; ++i)
      run(writer, "INSERT INTO `Gone Soon` VALUES('" + std::to_string(i) + "', '" + std::string(3000, 'q') + "')");
    tdef = Database::open(path, "")->table("Gone Soon").def().page;
    run(writer, "DROP TABLE `Gone Soon`;");
    EXPECT_THROW(run(writer, "DROP TABLE `Gone Soon`"), Error);
    run(writer, "CREATE TABLE `Gone Soon`(`b` TEXT(5))");
    run(writer, "INSERT INTO `Gone Soon` VALUES('x')");
  }
  EXPECT_TRUE(globallyFree(path, tdef));
  EXPECT_EQ(tableList(path), "Keep\nGone Soon\n");
  auto db = Database::open(path, "");
  EXPECT_EQ(db->table("Gone Soon").columns().size(), 1u);
  EXPECT_EQ(db->table("Gone Soon").countRows(), 1u);
  EXPECT_TRUE(jetwrite_test::catalogIndexesRight(path));
  if (!jetwrite_test::haveMdbReader()) GTEST_SKIP() << "mdb-reader is not installed";
  const auto js = jetwrite_test::withMdbReader(path, "console.log(db.getTableNames().join(\",\"));");
  EXPECT_EQ(js.output, "Keep,Gone Soon\n");
}

TEST(DropTable, DropsATableAccessMade) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/functionsV2000.mdb");
  DatabaseWriter writer(path, "");
  run(writer, "DROP TABLE `t_funcs`");
  EXPECT_EQ(tableList(path), "");
  EXPECT_TRUE(jetwrite_test::catalogIndexesRight(path));
}

TEST(DropTable, RefusesSystemTablesUnknownNamesAndRelatedTables) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/indexTestV2003.mdb");
  const auto before = jetwrite_test::readFile(path);
  DatabaseWriter writer(path, "");
  EXPECT_THROW(run(writer, "DROP TABLE MSysObjects"), Error);
  try {
    run(writer, "DROP TABLE `nope`");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errc::kNoSuchTable);
  }
  try {
    run(writer, "DROP TABLE `Table2`");
    FAIL();
  } catch (const Error& e) {
    EXPECT_NE(e.description().find("relationships"), std::string::npos);
  }
  EXPECT_EQ(jetwrite_test::readFile(path), before);
}

TEST(DropTable, HundredsCreatedAndDroppedLeaveTheCatalogRight) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "ace14/empty2010.accdb");
  {
    DatabaseWriter writer(path, "");
    for (int i = 0; i < 250; ++i) run(writer, "CREATE TABLE `T" + std::to_string(i) + "`(`a` INT)");
    for (int i = 0; i < 250; i += 2) run(writer, "DROP TABLE `T" + std::to_string(i) + "`");
  }
  const std::string list = tableList(path);
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 125);
  EXPECT_EQ(list.find("T0\n"), std::string::npos);
  EXPECT_NE(list.find("T249\n"), std::string::npos);
  EXPECT_TRUE(jetwrite_test::catalogIndexesRight(path));
}

}  // namespace
}  // namespace jet::write
