// Hundreds of statements of every kind on a file of each format, with the
// index audit over every table after each one: the catalog's indexes lose
// and gain entries with every CREATE, DROP and rename (a copy and a drop),
// and a table of the test's own grows its indexes through page splits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index_audit.h"
#include "indexed_table.h"
#include "jet/database/database_writer.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

constexpr int kRounds = 200;

// One run per format, so that the runs can go side by side.
class Churn : public testing::TestWithParam<const char*> {};

TEST_P(Churn, EveryIndexStaysSoundAfterEveryStatement) {
  jetwrite_test::TempDir dir;
  const std::string path = jetwrite_test::copyFixture(dir, GetParam());
  jetwrite_test::addIndexedTable(
      path, "Keys", {{{"n", ColumnType::Int32}, true, 0x81}, {{"t", ColumnType::Text, 40}, false, 0x80}});
  DatabaseWriter writer(path, "");
  std::string faults;
  for (int round = 0; round < kRounds && faults.empty(); ++round) {
    const std::string n = std::to_string(round);
    const std::string key = std::to_string(round * 7919 % 100003);
    std::vector<std::string> statements = {
        "CREATE TABLE `T" + n + "`(`a` INT, `b` TEXT(20))",
        "INSERT INTO `T" + n + "` VALUES(" + n + ", 'row " + n + "')",
        "INSERT INTO `Keys` VALUES(" + key + ", 'key " + std::string(round % 30, 'k') + key + "')",
        "SELECT a1.* INTO `R" + n + "` FROM `T" + n + "` AS a1",  // a rename: copy, then drop
        "DROP TABLE `T" + n + "`"};
    if (round % 3 == 2) statements.push_back("DROP TABLE `R" + std::to_string(round - 1) + "`");
    for (const std::string& statement : statements) {
      jetwrite_test::run(writer, statement);
      faults = jetwrite_test::indexFaults(path);
      if (!faults.empty()) {
        faults = "after " + statement + ":\n" + faults;
        break;
      }
    }
  }
  EXPECT_EQ(faults, "");
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, Churn, testing::ValuesIn(jetwrite_test::kEmptyDatabases),
                         jetwrite_test::fixtureTestName);

}  // namespace
}  // namespace jet::write
