// Readers in one process, a writer in another: every reader sees the file
// between two statements. The writer copies a table of many pages again and
// again (SELECT ... INTO, which writes its pages after the catalog row that
// names the copy) and drops the previous copy; a reader that caught a
// statement half applied would list a copy whose pages are not there yet.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "jet/database/database.h"
#include "jet/database/database_writer.h"
#include "jet/database/new_database.h"
#include "jet/error.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::run;

constexpr int kRows = 600;

TEST(StatementLock, ReadersInAnotherProcessSeeOnlyWholeStatements) {
  jetwrite_test::TempDir dir;
  const std::string path = dir.file("shared.mdb");
  createDatabase(path, NewFormat::Jet4);
  {
    DatabaseWriter writer(path, "");
    run(writer, "CREATE TABLE `source`(`n` INT,`t` VARCHAR(200))");
    for (int i = 0; i < kRows; ++i)
      run(writer,
          "INSERT INTO `source` VALUES('" + std::to_string(i) + "', '" + std::string(150, 'x') + "')");
  }
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    try {
      DatabaseWriter writer(path, "");
      for (int round = 1; round <= 25; ++round) {
        run(writer, "SELECT a1.* INTO `copy" + std::to_string(round) + "` FROM `source` AS a1");
        if (round > 1) run(writer, "DROP TABLE `copy" + std::to_string(round - 1) + "`");
      }
    } catch (...) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  int reads = 0;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    try {
      const auto db = Database::open(path, "");
      for (const CatalogEntry& entry : db->catalog()) {
        if (entry.objectType() == ObjectType::Table && entry.name.starts_with("copy")) {
          ASSERT_EQ(db->table(entry.name).countRows(), static_cast<std::uint64_t>(kRows)) << entry.name;
        }
      }
    } catch (const Error& e) {
      FAIL() << "read " << reads << ": " << e.description();
    }
    ++reads;
  }
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the writer failed";
  EXPECT_GT(reads, 0);
}

}  // namespace
}  // namespace jet::write
