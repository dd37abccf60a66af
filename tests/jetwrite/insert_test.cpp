// INSERT into tables of files Access wrote, read back by our own reader and
// by mdbtools and mdb-reader.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixture_pages.h"
#include "jet/database/database.h"
#include "jet/database/database_writer.h"
#include "jet/error.h"
#include "jet/error_numbers.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::copyFixture;
using jetwrite_test::null;
using jetwrite_test::text;

std::vector<std::vector<Value>> readAll(const std::string& path, const std::string& table) {
  auto db = Database::open(path, "");
  RowCursor cursor = db->table(table).rows();
  std::vector<std::vector<Value>> rows;
  std::vector<Value> row;
  while (cursor.next(row)) rows.push_back(row);
  return rows;
}

std::string memo(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
  return s;
}

// t_funcs: id Integer, descr Memo, num Decimal(12,3), date0 Date/Time; one row.
constexpr const char* kFunctions = "jet4/functionsV2000.mdb";

TEST(Insert, RowsOfEveryColumnReadBackThroughOurReader) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, kFunctions);
  {
    DatabaseWriter writer(path, "");
    writer.insert("t_funcs", {text("7"), text("short"), text("123.4565"), text("2024-03-01 12:00:00")});
    writer.insert("t_funcs", {null(), text(memo(2000)), text("-1.5"), null()});
    writer.insert("t_funcs", {text("-32768"), text(memo(100000)), null(), text("1899-12-29 06:00:00")});
    writer.insert("t_funcs", {text("0"), text(""), text("0"), text("00:00")});
  }
  const auto rows = readAll(path, "t_funcs");
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1][0], Value(std::int16_t{7}));
  EXPECT_EQ(rows[1][1], Value(std::string("short")));
  EXPECT_EQ(rows[1][2], Value(Numeric{false, 12, 3, 123456}));  // half to even
  EXPECT_EQ(rows[1][3], Value(DateTime{45352.5}));
  EXPECT_EQ(rows[2][0], Value(std::monostate{}));
  EXPECT_EQ(rows[2][1], Value(memo(2000)));
  EXPECT_EQ(rows[2][2], Value(Numeric{true, 12, 3, 1500}));
  EXPECT_EQ(rows[2][3], Value(std::monostate{}));
  EXPECT_EQ(rows[3][0], Value(std::int16_t{-32768}));
  EXPECT_EQ(rows[3][1], Value(memo(100000)));
  EXPECT_EQ(rows[3][3], Value(DateTime{-1.25}));
  EXPECT_EQ(rows[4][1], Value(std::string("")));
  auto db = Database::open(path, "");
  EXPECT_EQ(db->table("t_funcs").countRows(), 5u);
}

TEST(Insert, IndependentReadersAgree) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, kFunctions);
  {
    DatabaseWriter writer(path, "");
    for (int i = 0; i < 600; ++i)
      writer.insert("t_funcs",
                    {text(std::to_string(i)), text(i % 50 == 0 ? memo(5000) : "m" + std::to_string(i)),
                     text(std::to_string(i) + ".25"), text("2020-01-02")});
  }
  const auto exported = jetwrite_test::mdbExport(path, "t_funcs");
  ASSERT_EQ(exported.status, 0) << exported.output;
  EXPECT_EQ(std::count(exported.output.begin(), exported.output.end(), '\n'), 601);
  EXPECT_NE(exported.output.find("599,\"m599\",599.250,\"01/02/20 00:00:00\""), std::string::npos)
      << exported.output.substr(exported.output.size() - 300);
  const auto count = jetwrite_test::runCommand("mdb-count " + jetwrite_test::quoted(path) + " t_funcs");
  EXPECT_EQ(count.output, "601\n");
  if (!jetwrite_test::haveMdbReader()) SKIP_WITHOUT_ORACLE("mdb-reader is not installed");
  const auto js = jetwrite_test::withMdbReader(
      path,
      "const r=db.getTable(\"t_funcs\").getData();"
      "console.log(r.length, r.filter(x=>x.descr&&x.descr.length===5000).length, r[600].descr);");
  EXPECT_EQ(js.output, "601 12 m599\n");
}

TEST(Insert, AFailedStatementChangesNothing) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, kFunctions);
  const auto before = jetwrite_test::readFile(path);
  DatabaseWriter writer(path, "");
  try {
    writer.insert("t_funcs", {text("1"), text(memo(3000)), text("1"), text("not a date")});
    FAIL() << "the bad date was taken";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errc::kTypeMismatch);
  }
  EXPECT_THROW(writer.insert("t_funcs", {text("1")}), Error);
  EXPECT_THROW(writer.insert("t_funcs", {text("40000"), null(), null(), null()}), Error);
  EXPECT_EQ(jetwrite_test::readFile(path), before);
  // The writer is still usable after failures.
  writer.insert("t_funcs", {text("1"), null(), null(), null()});
  EXPECT_EQ(readAll(path, "t_funcs").size(), 2u);
}

TEST(Insert, RefusesWhatItCannotWriteFaithfully) {
  jetwrite_test::TempDir dir;
  EXPECT_THROW(DatabaseWriter(copyFixture(dir, "jet3/testV1997.mdb"), ""), Error);
  // A Large Number column (under an index, too): the engine writes no such values.
  DatabaseWriter writer(copyFixture(dir, "ace16/bigint.accdb"), "");
  try {
    writer.insert("Table", {null(), null()});
    FAIL();
  } catch (const Error& e) {
    EXPECT_NE(e.description().find("cannot write"), std::string::npos) << e.description();
  }
  EXPECT_THROW(writer.insert("MSysObjects", {null()}), Error);
  EXPECT_THROW(writer.insert("NoSuchTable", {null()}), Error);
}

TEST(Insert, RowsOnTheManySideOfAnEnforcedRelationshipNeedTheirRelatedRow) {
  // Table1.otherfk1 must name a Table2.id (0-2), Table1.otherfk2 a Table3.id
  // (10-13); both relationships are enforced.
  for (const char* fixture : {"jet4/indexTestV2003.mdb", "ace14/indexTestV2010.accdb"}) {
    jetwrite_test::TempDir dir;
    const std::string path = copyFixture(dir, fixture);
    const std::size_t rows = readAll(path, "Table1").size();
    DatabaseWriter writer(path, "");
    const auto before = jetwrite_test::readFile(path);
    for (const auto& [values, table] :
         {std::pair{"(100, 7, 12, 'x', 0)", "Table2"}, {"(100, 2, 99, 'x', 0)", "Table3"}}) {
      try {
        jetwrite_test::run(writer, std::string("INSERT INTO `Table1` VALUES") + values);
        ADD_FAILURE() << fixture << ": an orphan row was accepted";
      } catch (const Error& e) {
        EXPECT_EQ(e.number(), errc::kFailure);
        EXPECT_EQ(e.description(),
                  std::string("You cannot add or change a record because a related record is "
                              "required in table '") +
                      table + "'.");
      }
    }
    EXPECT_EQ(jetwrite_test::readFile(path), before) << fixture;
    jetwrite_test::run(writer, "INSERT INTO `Table1` VALUES(100, 2, 13, 'both related', 0)");
    jetwrite_test::run(writer, "INSERT INTO `Table1` VALUES(101, NULL, 10, 'a null key passes', 0)");
    jetwrite_test::run(writer, "INSERT INTO `Table1` VALUES(102, NULL, NULL, 'so do two', 0)");
    EXPECT_EQ(readAll(path, "Table1").size(), rows + 3) << fixture;
  }
}

}  // namespace
}  // namespace jet::write
