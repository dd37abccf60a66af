// One writer per file: a second writer, in this process or another, is
// turned away with Jet's "file already in use", and readers that open the
// file meanwhile leave the writer's journal alone.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "jet/database/database.h"
#include "jet/database/database_writer.h"
#include "jet/database/new_database.h"
#include "jet/error.h"
#include "jet/journal/rollback_journal.h"
#include "jet/sql/parser.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::run;

std::string newDatabase(const jetwrite_test::TempDir& dir) {
  const std::string path = dir.file("locked.mdb");
  createDatabase(path, NewFormat::Jet4);
  return path;
}

// The error a writer opened on `path` raises, or "" when it opens.
std::string writerError(const std::string& path, std::int32_t* number = nullptr) {
  try {
    DatabaseWriter writer(path, "");
    return "";
  } catch (const Error& e) {
    if (number != nullptr) *number = e.number();
    return e.description();
  }
}

TEST(WriterLock, ASecondWriterInTheSameProcessIsTurnedAway) {
  jetwrite_test::TempDir dir;
  const std::string path = newDatabase(dir);
  {
    DatabaseWriter first(path, "");
    run(first, "CREATE TABLE `t`(`n` INT)");
    std::int32_t number = 0;
    EXPECT_EQ(writerError(path, &number), "Could not use '" + path + "'; file already in use.");
    EXPECT_EQ(number, errc::kFileInUse);
    // The refused writer changed nothing and took nothing from the first.
    run(first, "INSERT INTO `t` VALUES('1')");
  }
  EXPECT_EQ(writerError(path), "");
  EXPECT_EQ(Database::open(path, "")->table("t").countRows(), 1u);
}

// Runs `hold` in a child process that keeps running until the returned
// function is called; that function waits for the child and gives its
// exit status.
std::function<int()> inChildProcess(const std::function<void()>& hold) {
  int ready[2];
  int release[2];
  if (::pipe(ready) != 0 || ::pipe(release) != 0) throw std::runtime_error("pipe");
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ready[0]);
    ::close(release[1]);
    try {
      hold();
    } catch (...) {
      ::_exit(1);
    }
    const char one = 1;
    (void)!::write(ready[1], &one, 1);
    char go = 0;
    (void)!::read(release[0], &go, 1);
    ::_exit(0);
  }
  // Only the child's ends stay open, so a child that fails ends the read.
  ::close(ready[1]);
  ::close(release[0]);
  char one = 0;
  const bool started = ::read(ready[0], &one, 1) == 1;
  ::close(ready[0]);
  if (!started) {
    ::close(release[1]);
    ::waitpid(child, nullptr, 0);
    throw std::runtime_error("the child process failed before it was ready");
  }
  return [child, releaseEnd = release[1]] {
    ::close(releaseEnd);
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
  };
}

TEST(WriterLock, AWriterInAnotherProcessKeepsTheFileUntilItEnds) {
  jetwrite_test::TempDir dir;
  const std::string path = newDatabase(dir);
  std::unique_ptr<DatabaseWriter> held;
  const auto finish = inChildProcess([&] {
    held = std::make_unique<DatabaseWriter>(path, "");
    run(*held, "CREATE TABLE `t`(`n` INT)");
  });
  EXPECT_EQ(writerError(path), "Could not use '" + path + "'; file already in use.");
  // Reading is not writing: the file opens and shows the other's table.
  EXPECT_EQ(Database::open(path, "")->table("t").countRows(), 0u);
  EXPECT_EQ(finish(), 0);
  EXPECT_EQ(writerError(path), "");
}

TEST(WriterLock, AReaderLeavesALiveWritersJournalInPlace) {
  jetwrite_test::TempDir dir;
  const std::string path = newDatabase(dir);
  const std::string journal = journal::RollbackJournal::pathFor(path);
  DatabaseWriter writer(path, "");
  run(writer, "CREATE TABLE `t`(`n` INT)");
  ASSERT_TRUE(std::filesystem::exists(journal));
  // Removing it would leave the writer journaling into a file nobody can
  // find after a crash.
  Database::open(path, "");
  EXPECT_TRUE(std::filesystem::exists(journal));
  run(writer, "INSERT INTO `t` VALUES('7')");
  EXPECT_TRUE(std::filesystem::exists(journal));
  EXPECT_EQ(Database::open(path, "")->table("t").countRows(), 1u);
}

}  // namespace
}  // namespace jet::write
