// Hundreds of statements of every kind on a file of each format, with the
// index audit over every table after each one: the catalog's indexes lose
// and gain entries with every CREATE, DROP and rename (a copy and a drop),
// and a table of the test's own grows its indexes through page splits.
#include <gtest/gtest.h>

#include "index_audit.h"
#include "indexed_table.h"
#include "jet/write/database_writer.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

constexpr int kRounds = 150;

TEST(Churn, EveryIndexStaysSoundAfterEveryStatement) {
  using sql::ColumnKind;
  for (const char* fixture : jetwrite_test::kEmptyDatabases) {
    jetwrite_test::TempDir dir;
    const std::string path = jetwrite_test::copyFixture(dir, fixture);
    jetwrite_test::addIndexedTable(path, "Keys",
                                   {{{"n", {ColumnKind::Long, 0, 0, 0, false}}, true, 0x81},
                                    {{"t", {ColumnKind::Text, 40, 0, 0, false}}, false, 0x80}});
    DatabaseWriter writer(path, "");
    std::string faults;
    const auto audited = [&](const std::string& statement) {
      jetwrite_test::run(writer, statement);
      faults = jetwrite_test::indexFaults(path);
      if (!faults.empty()) faults = "after " + statement + ":\n" + faults;
      return faults.empty();
    };
    for (int round = 0; round < kRounds && faults.empty(); ++round) {
      const std::string n = std::to_string(round);
      const std::string key = std::to_string(round * 7919 % 100003);
      const bool sound =
          audited("CREATE TABLE `T" + n + "`(`a` INT, `b` TEXT(20))") &&
          audited("INSERT INTO `T" + n + "` VALUES(" + n + ", 'row " + n + "')") &&
          audited("INSERT INTO `Keys` VALUES(" + key + ", 'key " + std::string(round % 30, 'k') + key + "')") &&
          audited("SELECT a1.* INTO `R" + n + "` FROM `T" + n + "` AS a1") &&
          audited("DROP TABLE `T" + n + "`") &&
          (round % 3 != 2 || audited("DROP TABLE `R" + std::to_string(round - 1) + "`"));
      if (!sound) break;
    }
    EXPECT_EQ(faults, "") << fixture;
  }
}

}  // namespace
}  // namespace jet::write
