// DROP TABLE: catalog rows and index entries gone, pages given back, the
// name free for a new table, and every reader agreeing.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixture_pages.h"
#include "index_audit.h"
#include "jet/database/database.h"
#include "jet/database/database_writer.h"
#include "jet/error.h"
#include "jet/sql/parser.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::copyFixture;

using jetwrite_test::run;

// Rows of `table` whose Long `column` holds `value`.
std::size_t rowsWith(const std::string& path, const std::string& table, const std::string& column,
                     std::int32_t value) {
  auto db = Database::open(path, "");
  const Table t = db->table(table);
  std::size_t at = 0;
  while (t.columns()[at].name != column) ++at;
  std::size_t n = 0;
  RowCursor rows = t.rows();
  std::vector<Value> row;
  while (rows.next(row)) n += std::get_if<std::int32_t>(&row[at]) && std::get<std::int32_t>(row[at]) == value;
  return n;
}

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
      run(writer,
          "INSERT INTO `Gone Soon` VALUES('" + std::to_string(i) + "', '" + std::string(3000, 'q') + "')");
    tdef = Database::open(path, "")->table("Gone Soon").def().page;
    run(writer, "DROP TABLE `Gone Soon`;");
    EXPECT_TRUE(globallyFree(path, tdef));
    EXPECT_THROW(run(writer, "DROP TABLE `Gone Soon`"), Error);
    run(writer, "CREATE TABLE `Gone Soon`(`b` TEXT(5))");
    run(writer, "INSERT INTO `Gone Soon` VALUES('x')");
  }
  EXPECT_EQ(tableList(path), "Keep\nGone Soon\n");
  auto db = Database::open(path, "");
  EXPECT_EQ(db->table("Gone Soon").columns().size(), 1u);
  EXPECT_EQ(db->table("Gone Soon").countRows(), 1u);
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");
  if (!jetwrite_test::haveMdbReader()) SKIP_WITHOUT_ORACLE("mdb-reader is not installed");
  const auto js = jetwrite_test::withMdbReader(path, "console.log(db.getTableNames().join(\",\"));");
  EXPECT_EQ(js.output, "Keep,Gone Soon\n");
}

TEST(DropTable, DropsATableAccessMade) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/functionsV2000.mdb");
  // t_funcs keeps its four usage maps on page 25; its owned-pages map is a
  // reference map whose bitmap is page 27.
  DatabaseWriter writer(path, "");
  run(writer, "DROP TABLE `t_funcs`");
  EXPECT_EQ(tableList(path), "");
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");
  EXPECT_TRUE(globallyFree(path, 25));
  EXPECT_TRUE(globallyFree(path, 27));
  // The pages serve the next table.
  run(writer, "CREATE TABLE `t_next`(`a` INT, `m` MEMO)");
  run(writer, "INSERT INTO `t_next` VALUES(1, '" + std::string(5000, 'n') + "')");
  EXPECT_EQ(jetwrite_test::mdbExport(path, "t_next").output, "1,\"" + std::string(5000, 'n') + "\"\n");
  EXPECT_LT(Database::open(path, "")->table("t_next").def().page, 51u);  // within the original 51 pages
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

// Every second drop empties leaves of the catalog's indexes and takes the
// last entries of others, whose parents must follow. One run per format,
// so that the runs can go side by side.
class DropEverySecond : public testing::TestWithParam<const char*> {};

TEST_P(DropEverySecond, OfThreeHundredTablesLeavesTheCatalogRight) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, GetParam());
  {
    DatabaseWriter writer(path, "");
    for (int i = 0; i < 300; ++i) run(writer, "CREATE TABLE `T" + std::to_string(i) + "`(`a` INT)");
    for (int i = 0; i < 300; i += 2) run(writer, "DROP TABLE `T" + std::to_string(i) + "`");
  }
  const std::string list = tableList(path);
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 150);
  EXPECT_EQ(list.find("T0\n"), std::string::npos);
  EXPECT_NE(list.find("T299\n"), std::string::npos);
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, DropEverySecond, testing::ValuesIn(jetwrite_test::kEmptyDatabases),
                         jetwrite_test::fixtureTestName);

TEST(DropTable, TakesItsRelationshipsAndNavigationPaneRowsAlong) {
  // Table1 (Id 65) is related to a linked table without enforced integrity.
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "ace12/linkerTestV2007.accdb");
  constexpr std::int32_t kTable1 = 65;
  ASSERT_EQ(rowsWith(path, "MSysNavPaneGroupToObjects", "ObjectID", kTable1), 1u);
  ASSERT_EQ(rowsWith(path, "MSysNavPaneObjectIDs", "Id", kTable1), 1u);
  ASSERT_EQ(rowsWith(path, "MSysNavPaneGroups", "ObjectID", kTable1),
            1u);  // its "Tables and Related Views" group
  const std::size_t navigationRows = Database::open(path, "")->table("MSysNavPaneGroupToObjects").countRows();
  {
    DatabaseWriter writer(path, "");
    run(writer, "DROP TABLE `Table1`;");
  }
  EXPECT_EQ(rowsWith(path, "MSysNavPaneGroupToObjects", "ObjectID", kTable1), 0u);
  EXPECT_EQ(rowsWith(path, "MSysNavPaneObjectIDs", "Id", kTable1), 0u);
  EXPECT_EQ(rowsWith(path, "MSysNavPaneGroups", "ObjectID", kTable1), 0u);
  EXPECT_EQ(Database::open(path, "")->table("MSysNavPaneGroupToObjects").countRows(), navigationRows - 1);
  const auto relationships = jetwrite_test::mdbExport(path, "MSysRelationships").output;
  EXPECT_EQ(relationships.find("Table1Table2"), std::string::npos);
  EXPECT_NE(relationships.find("MSysNavPaneGroupsMSysNavPaneGroupToObjects"), std::string::npos);
  // The relationship's own catalog row is gone, the other ones stay.
  const auto catalog =
      jetwrite_test::runCommand("mdb-export -H -Q -d '|' " + jetwrite_test::quoted(path) + " MSysObjects")
          .output;
  EXPECT_EQ(catalog.find("|Table1Table2|"), std::string::npos);
  EXPECT_NE(catalog.find("|MSysNavPaneGroupsMSysNavPaneGroupToObjects|"), std::string::npos);
  EXPECT_EQ(tableList(path), "");
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");
  if (!jetwrite_test::haveMdbReader()) SKIP_WITHOUT_ORACLE("mdb-reader is not installed");
  const auto js = jetwrite_test::withMdbReader(
      path,
      "const t=db.getTableNames({normalTables:true,systemTables:true});"
      "console.log(t.includes(\"Table1\"), db.getTable(\"MSysNavPaneGroupToObjects\").getData().length);");
  EXPECT_EQ(js.output, "false " + std::to_string(navigationRows - 1) + "\n");
}

TEST(DropTable, RefusesEnforcedRelationshipsAndComplexFieldsButDropsTheirNeighbours) {
  jetwrite_test::TempDir dir;
  // Tabella1 and ??### are related with enforced integrity; Son is not related.
  const std::string path = copyFixture(dir, "ace14/alterTable.accdb");
  {
    DatabaseWriter writer(path, "");
    const auto before = jetwrite_test::readFile(path);
    for (const char* table : {"Tabella1", "??###"}) {
      try {
        run(writer, "DROP TABLE `" + std::string(table) + "`");
        ADD_FAILURE() << table << " was dropped";
      } catch (const Error& e) {
        EXPECT_NE(e.description().find("relationships"), std::string::npos) << e.description();
      }
    }
    EXPECT_EQ(jetwrite_test::readFile(path), before);
    run(writer, "DROP TABLE `Son`");
  }
  EXPECT_EQ(rowsWith(path, "MSysNavPaneGroupToObjects", "ObjectID", 113), 0u);
  EXPECT_EQ(rowsWith(path, "MSysNavPaneGroups", "ObjectID", 113), 0u);
  EXPECT_EQ(rowsWith(path, "MSysNavPaneGroups", "ObjectID", 122), 1u);
  EXPECT_EQ(rowsWith(path, "MSysNavPaneGroupToObjects", "ObjectID", 122), 1u);
  EXPECT_EQ(tableList(path).find("Son\n"), std::string::npos);
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");

  const std::string attachments = copyFixture(dir, "ace12/attachments.accdb");
  const auto untouched = jetwrite_test::readFile(attachments);
  DatabaseWriter writer(attachments, "");
  try {
    run(writer, "DROP TABLE `Table1`");
    ADD_FAILURE() << "a table with an attachment field was dropped";
  } catch (const Error& e) {
    EXPECT_NE(e.description().find("attachment or multi-valued"), std::string::npos) << e.description();
  }
  EXPECT_EQ(jetwrite_test::readFile(attachments), untouched);
}

TEST(DropTable, CreatingAndDroppingAgainAndAgainReusesThePages) {
  for (const char* fixture : {"jet4/empty2003.mdb", "ace14/empty2010.accdb"}) {
    jetwrite_test::TempDir dir;
    const std::string path = copyFixture(dir, fixture);
    const auto catalogRows = Database::open(path, "")->table("MSysObjects").countRows();
    const std::uintmax_t initial = std::filesystem::file_size(path);
    {
      DatabaseWriter writer(path, "");
      for (int cycle = 0; cycle < 200; ++cycle) {
        run(writer, "CREATE TABLE `Cycle`(`a` INT, `m` MEMO, `t` TEXT(50))");
        for (int i = 0; i < 3; ++i)
          run(writer, "INSERT INTO `Cycle` VALUES(" + std::to_string(i) + ", '" + std::string(3000 * i, 'm') +
                          "', 'x')");
        run(writer, "DROP TABLE `Cycle`");
      }
    }
    // A round takes seven pages (definition, maps, data, four of long
    // values): 1,400 pages for the 200 rounds if none came back. The drop
    // gives them back and the next round takes them again; what remains is
    // the catalog's deleted rows, whose space Jet, too, leaves to a
    // compaction: a page per fifteen to forty rounds.
    EXPECT_LE(std::filesystem::file_size(path), initial + 32 * 4096) << fixture;
    EXPECT_EQ(Database::open(path, "")->table("MSysObjects").countRows(), catalogRows) << fixture;
    EXPECT_EQ(tableList(path), "") << fixture;
    EXPECT_EQ(jetwrite_test::indexFaults(path), "") << fixture;
    {
      DatabaseWriter writer(path, "");
      run(writer, "CREATE TABLE `Last`(`a` INT, `m` MEMO)");
      run(writer, "INSERT INTO `Last` VALUES(7, '" + std::string(5000, 'z') + "')");
    }
    EXPECT_EQ(jetwrite_test::mdbExport(path, "Last").output, "7,\"" + std::string(5000, 'z') + "\"\n")
        << fixture;
    if (jetwrite_test::haveMdbReader()) {
      const auto js =
          jetwrite_test::withMdbReader(path, "console.log(db.getTable(\"Last\").getData()[0].m.length);");
      EXPECT_EQ(js.output, "5000\n") << fixture;
    }
  }
  if (!jetwrite_test::haveMdbReader())
    SKIP_WITHOUT_ORACLE("mdb-reader is not installed; it read none of the files");
}

}  // namespace
}  // namespace jet::write
