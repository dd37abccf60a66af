// A process killed in the middle of INSERT or DROP TABLE statements: the
// file opens afterwards in every reader and each statement is whole or
// absent.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "fixture_pages.h"
#include "index_audit.h"
#include "jet/database/database.h"
#include "jet/database/database_writer.h"
#include "jet/sql/executor.h"
#include "jet/sql/parser.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::copyFixture;

// Runs `work` in a child process, lets it get going (it reports through
// `ready` once), kills it after `delay` and waits for it.
template <typename Work>
void killMidway(Work work, std::chrono::milliseconds delay) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    work([&] {
      const char one = 1;
      (void)!::write(ready[1], &one, 1);
    });
    ::_exit(0);
  }
  char one = 0;
  ASSERT_EQ(::read(ready[0], &one, 1), 1);
  ::close(ready[0]);
  ::close(ready[1]);
  std::this_thread::sleep_for(delay);
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the writer finished before it was killed";
}

TEST(Crash, KilledDuringInsertsLeavesWholeRows) {
  for (int round = 0; round < 3; ++round) {
    jetwrite_test::TempDir dir;
    const std::string path = copyFixture(dir, "jet4/empty2003.mdb");
    {
      DatabaseWriter writer(path, "");
      sql::execute(writer, sql::parse("CREATE TABLE `t`(`id` COUNTER,`n` INT,`m` MEMO)"));
    }
    killMidway(
        [&](auto started) {
          DatabaseWriter writer(path, "");
          for (int i = 0; i < 100000; ++i) {
            // Every row's memo repeats its number, so a torn row shows.
            std::string memo;
            for (int k = 0; k < 300; ++k) memo += std::to_string(i) + ";";
            sql::execute(writer, sql::parse("INSERT INTO `t` VALUES(NULL, '" + std::to_string(i) + "', '" +
                                            memo + "')"));
            if (i == 20) started();
          }
        },
        std::chrono::milliseconds(50 + 100 * round));
    auto db = Database::open(path, "");  // rolls the cut statement back
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    RowCursor rows = db->table("t").rows();
    std::vector<Value> row;
    std::int32_t expected = 0;
    while (rows.next(row)) {
      ASSERT_EQ(row[1], Value(expected)) << "round " << round;
      std::string memo;
      for (int k = 0; k < 300; ++k) memo += std::to_string(expected) + ";";
      ASSERT_EQ(row[2], Value(memo));
      ++expected;
    }
    EXPECT_GT(expected, 20);
    const auto count = jetwrite_test::runCommand("mdb-count " + jetwrite_test::quoted(path) + " t");
    EXPECT_EQ(count.output, std::to_string(expected) + "\n");
    // The file takes further statements.
    DatabaseWriter writer(path, "");
    sql::execute(writer, sql::parse("INSERT INTO `t` VALUES(NULL, '-1', 'after')"));
  }
}

TEST(Crash, KilledDuringDropsLeavesTheCatalogRight) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "ace14/empty2010.accdb");
  {
    DatabaseWriter writer(path, "");
    for (int i = 0; i < 120; ++i)
      sql::execute(writer, sql::parse("CREATE TABLE `T" + std::to_string(i) + "`(`a` INT)"));
  }
  killMidway(
      [&](auto started) {
        DatabaseWriter writer(path, "");
        for (int i = 0; i < 120; ++i) {
          sql::execute(writer, sql::parse("DROP TABLE `T" + std::to_string(i) + "`;"));
          if (i == 5) started();
        }
      },
      std::chrono::milliseconds(30));
  auto db = Database::open(path, "");
  for (std::size_t which = 0; which < 2; ++which) {
    const auto audit = jetwrite_test::auditIndex(path, "MSysObjects", which);
    EXPECT_TRUE(audit.sound()) << which << "\n" << audit.report();
  }
  const auto tables = jetwrite_test::runCommand("mdb-tables -1 " + jetwrite_test::quoted(path));
  EXPECT_EQ(tables.status, 0);
  const auto left = std::count(tables.output.begin(), tables.output.end(), '\n');
  EXPECT_GT(left, 0);
  EXPECT_LT(left, 115);
}

// A copy larger than the writer keeps in memory writes its new pages before
// it commits; killed then, it must leave no copy and no grown file behind.
TEST(Crash, KilledDuringALargeCopyLeavesNoPartOfIt) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/empty2003.mdb");
  // Memos of ten pages each (two bytes a letter): more pages than the
  // writer holds in memory.
  constexpr int kRows = 600;
  std::string memo;
  for (int i = 0; i < 20000; ++i) memo += "\u0436";
  {
    DatabaseWriter writer(path, "");
    sql::execute(writer, sql::parse("CREATE TABLE `t`(`n` INT,`m` MEMO)"));
    for (int i = 0; i < kRows; ++i)
      sql::execute(writer, sql::parse("INSERT INTO `t` VALUES('" + std::to_string(i) + "', '" + memo + "')"));
  }
  const auto before = std::filesystem::file_size(path);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    DatabaseWriter writer(path, "");
    sql::execute(writer, sql::parse("SELECT a1.* INTO `copy` FROM `t` AS a1;"));
    ::_exit(0);
  }
  // Killed as soon as the copy's first pages reach the file.
  int status = 0;
  while (std::filesystem::file_size(path) == before && ::waitpid(child, &status, WNOHANG) == 0)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  ::kill(child, SIGKILL);
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the copy ended before it was killed";
  auto db = Database::open(path, "");
  EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
  EXPECT_EQ(std::filesystem::file_size(path), before);
  EXPECT_THROW(db->table("copy"), Error);
  EXPECT_EQ(db->table("t").countRows(), static_cast<std::uint64_t>(kRows));
}

}  // namespace
}  // namespace jet::write
