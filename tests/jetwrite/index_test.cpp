// Index keys and index upkeep, checked against indexes Access built and
// against the rows after inserts that split pages.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixture_pages.h"
#include "index_audit.h"
#include "jet/error.h"
#include "jet/write/database_writer.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::copyFixture;
using jetwrite_test::null;
using jetwrite_test::text;

TEST(IndexKeys, MatchTheIndexesAccessBuilt) {
  // A compound index (Long + two Texts) over 512 rows, on a node and leaves.
  const auto compound = jetwrite_test::auditIndex(jetwrite_test::fixturePath("jet4/compIndexTestV2000.mdb"), "Table1", 0);
  EXPECT_EQ(compound.entries, 512u);
  EXPECT_TRUE(compound.ordered);
  EXPECT_TRUE(compound.keysMatchRows);
  EXPECT_EQ(compound.depth, 2u);
  // An AutoNumber primary key next to non-ASCII text.
  const auto unicode = jetwrite_test::auditIndex(jetwrite_test::fixturePath("jet4/testUnicodeCompV2003.mdb"), "Table", 0);
  EXPECT_EQ(unicode.entries, 8u);
  EXPECT_TRUE(unicode.keysMatchRows);
}

TEST(IndexUpkeep, InsertsSplitLeavesAndKeepEveryIndexRight) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/testUnicodeCompV2003.mdb");
  {
    DatabaseWriter writer(path, "");
    for (int i = 0; i < 1500; ++i) writer.insert({"Table", {null(), text("row " + std::to_string(i))}});
  }
  const auto audit = jetwrite_test::auditIndex(path, "Table", 0);
  EXPECT_EQ(audit.entries, 1508u);
  EXPECT_TRUE(audit.ordered);
  EXPECT_TRUE(audit.keysMatchRows);
  EXPECT_GE(audit.depth, 2u);
  const auto count = jetwrite_test::runCommand("mdb-count " + jetwrite_test::quoted(path) + " Table");
  EXPECT_EQ(count.output, "1508\n");
  const auto exported = jetwrite_test::mdbExport(path, "Table");
  EXPECT_NE(exported.output.find("1508,\"row 1499\""), std::string::npos);
}

TEST(IndexUpkeep, TextIndexesAndDuplicateKeys) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/indexTestV2003.mdb");
  DatabaseWriter writer(path, "");
  for (int i = 0; i < 400; ++i)
    writer.insert({"Table2", {text(std::to_string(100 + i)), text("Grüße " + std::to_string(i % 37))}});
  try {
    writer.insert({"Table2", {text("100"), text("again")}});
    FAIL() << "a duplicate primary key was taken";
  } catch (const Error& e) {
    EXPECT_NE(e.description().find("duplicate values"), std::string::npos);
  }
  for (std::size_t which = 0; which < 2; ++which) {
    const auto audit = jetwrite_test::auditIndex(path, "Table2", which);
    EXPECT_EQ(audit.entries, 403u) << which;
    EXPECT_TRUE(audit.ordered) << which;
    EXPECT_TRUE(audit.keysMatchRows) << which;
  }
}

TEST(IndexUpkeep, AccessMadeAceTablesInBothSortOrders) {
  // ACE12 with General legacy keys, ACE14 with the 2010 General keys.
  for (const char* fixture : {"ace12/testV2007.accdb", "ace14/testV2010.accdb"}) {
    jetwrite_test::TempDir dir;
    const std::string path = copyFixture(dir, fixture);
    {
      DatabaseWriter writer(path, "");
      for (int i = 0; i < 300; ++i) writer.insert({"Table3", {null(), text("Zeile Nr. " + std::to_string(i))}});
    }
    auto db = Database::open(path, "");
    const Table t = db->table("Table3");
    ASSERT_EQ(t.def().realIndexes, 2u) << fixture;  // the AutoNumber key and the text column
    for (std::size_t which = 0; which < t.def().realIndexes; ++which) {
      const auto audit = jetwrite_test::auditIndex(path, "Table3", which);
      EXPECT_TRUE(audit.ordered) << fixture << " " << which;
      EXPECT_TRUE(audit.keysMatchRows) << fixture << " " << which;
    }
    const auto count = jetwrite_test::runCommand("mdb-count " + jetwrite_test::quoted(path) + " Table3");
    EXPECT_EQ(count.output, std::to_string(t.countRows()) + "\n");
  }
}

}  // namespace
}  // namespace jet::write
