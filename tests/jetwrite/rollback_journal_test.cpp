// Statements applied through the rollback journal are whole or absent,
// also when the process applying them is killed.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "jet/journal/crc32.h"
#include "jet/journal/rollback_journal.h"
#include "temp_dir.h"

namespace jet::journal {
namespace {

constexpr std::size_t kPage = 512;

std::vector<std::uint8_t> pageWith(std::uint32_t counter) {
  std::vector<std::uint8_t> page(kPage, static_cast<std::uint8_t>(counter * 7 + 1));
  for (int i = 0; i < 4; ++i) page[i] = static_cast<std::uint8_t>(counter >> (8 * i));
  return page;
}

std::uint32_t counterOf(const FileHandle& f, std::uint32_t page) {
  std::vector<std::uint8_t> bytes(kPage);
  EXPECT_TRUE(f.readAt(static_cast<std::uint64_t>(page) * kPage, bytes));
  EXPECT_EQ(bytes, pageWith(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (bytes[3] << 24)))
      << "page " << page << " is torn";
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (bytes[3] << 24);
}

// Nine pages, all with counter 0.
void makeDatabase(const std::string& path) {
  FileHandle f(path, FileHandle::Mode::CreateReadWrite);
  for (std::uint32_t p = 0; p < 9; ++p) f.writeAt(p * kPage, pageWith(0));
}

// Statement i: pages 1-8 get counter i, and page 8 + i is appended.
PageImages statement(std::uint32_t i) {
  PageImages pages;
  for (std::uint32_t p = 1; p <= 8; ++p) pages[p] = pageWith(i);
  pages[8 + i] = pageWith(i);
  return pages;
}

// Every statement left whole: pages 1-8 agree and the file ends after the
// page the last statement appended.
std::uint32_t checkWhole(const std::string& path) {
  FileHandle f(path, FileHandle::Mode::ReadWrite);
  const std::uint32_t i = counterOf(f, 1);
  for (std::uint32_t p = 2; p <= 8; ++p) EXPECT_EQ(counterOf(f, p), i);
  EXPECT_EQ(f.size(), (9 + i) * kPage);
  return i;
}

TEST(Crc32, KnownValues) {
  const std::string check = "123456789";
  EXPECT_EQ(crc32(std::span(reinterpret_cast<const std::uint8_t*>(check.data()), check.size())), 0xCBF43926u);
  std::vector<std::uint8_t> bytes;
  for (int r = 0; r < 3; ++r)
    for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
  EXPECT_EQ(crc32(bytes), 0xB0C0DF2Au);
  // Split anywhere, the running value carries over.
  EXPECT_EQ(crc32(std::span(bytes).subspan(13), crc32(std::span(bytes).first(13))), 0xB0C0DF2Au);
}

TEST(RollbackJournal, AppliesPagesAndLeavesNoJournalBehind) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  makeDatabase(db);
  {
    RollbackJournal journal(db, kPage, SyncPolicy::Off);
    FileHandle f(db, FileHandle::Mode::ReadWrite);
    journal.apply(f, statement(1));
    journal.apply(f, statement(2));
  }
  EXPECT_FALSE(std::filesystem::exists(RollbackJournal::pathFor(db)));
  EXPECT_EQ(checkWhole(db), 2u);
  EXPECT_FALSE(RollbackJournal::recover(db));
}

TEST(RollbackJournal, AFinishedStatementIsNotRolledBack) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  makeDatabase(db);
  RollbackJournal journal(db, kPage, SyncPolicy::Full);
  FileHandle f(db, FileHandle::Mode::ReadWrite);
  journal.apply(f, statement(1));
  // The journal file stays while the database is open; its header is wiped.
  ASSERT_TRUE(std::filesystem::exists(RollbackJournal::pathFor(db)));
  EXPECT_FALSE(RollbackJournal::recover(db));
  EXPECT_EQ(checkWhole(db), 1u);
}

// A hot journal as an interrupted statement leaves it, laid out as the
// journal's header comment describes: header, then page records.
std::vector<std::uint8_t> hotJournal(std::uint64_t databaseSize,
                                     const std::vector<std::uint32_t>& pages,
                                     std::uint32_t counter, bool tearLast) {
  std::vector<std::uint8_t> j = {'F', 'V', 'J', 'R', 'N', 'L', '0', '1'};
  auto put = [&j](std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) j.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  put(kPage, 4);
  put(pages.size(), 4);
  put(databaseSize, 8);
  put(crc32(std::span(j).first(24)), 4);
  for (std::uint32_t p : pages) {
    const std::size_t start = j.size();
    put(p, 4);
    const auto original = pageWith(counter);
    j.insert(j.end(), original.begin(), original.end());
    put(crc32(std::span(j).subspan(start)), 4);
  }
  if (tearLast) j.back() ^= 0xFF;
  return j;
}

TEST(RollbackJournal, RecoveryRestoresOriginalsAndCutsAppendedPages) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  makeDatabase(db);
  {
    // Statement 1 wrote pages 1-8 and appended page 9, then died.
    FileHandle f(db, FileHandle::Mode::ReadWrite);
    for (const auto& [number, bytes] : statement(1)) f.writeAt(number * kPage, bytes);
    FileHandle j(RollbackJournal::pathFor(db), FileHandle::Mode::CreateReadWrite);
    j.writeAt(0, hotJournal(9 * kPage, {1, 2, 3, 4, 5, 6, 7, 8}, 0, false));
  }
  EXPECT_TRUE(RollbackJournal::recover(db));
  EXPECT_FALSE(std::filesystem::exists(RollbackJournal::pathFor(db)));
  EXPECT_EQ(checkWhole(db), 0u);
}

TEST(RollbackJournal, ATornRecordIsOneTheDatabaseNeverSaw) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  makeDatabase(db);
  {
    FileHandle j(RollbackJournal::pathFor(db), FileHandle::Mode::CreateReadWrite);
    // The last record's CRC fails: it must not be written back (it would
    // not matter here, but a torn record holds garbage).
    auto image = hotJournal(9 * kPage, {1, 2}, 5, true);
    j.writeAt(0, image);
  }
  EXPECT_TRUE(RollbackJournal::recover(db));
  FileHandle f(db, FileHandle::Mode::ReadWrite);
  EXPECT_EQ(counterOf(f, 1), 5u);
  EXPECT_EQ(counterOf(f, 2), 0u);
}

TEST(RollbackJournal, AWipedJournalIsRemovedWithoutRollback) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  makeDatabase(db);
  {
    FileHandle j(RollbackJournal::pathFor(db), FileHandle::Mode::CreateReadWrite);
    auto image = hotJournal(9 * kPage, {1}, 5, false);
    std::fill(image.begin(), image.begin() + 8, 0);
    j.writeAt(0, image);
  }
  EXPECT_FALSE(RollbackJournal::recover(db));
  EXPECT_FALSE(std::filesystem::exists(RollbackJournal::pathFor(db)));
  EXPECT_EQ(checkWhole(db), 0u);
}

// A writer in the middle of statement 1, holding the lock: the pages are
// written and the journal's header is intact. A closed handle if the lock
// could not be taken.
FileHandle lockedMidStatement(const std::string& db) {
  FileHandle writer(db, FileHandle::Mode::ReadWrite);
  if (!writer.tryLock()) return FileHandle();
  for (const auto& [number, bytes] : statement(1)) writer.writeAt(number * kPage, bytes);
  FileHandle j(RollbackJournal::pathFor(db), FileHandle::Mode::CreateReadWrite);
  j.writeAt(0, hotJournal(9 * kPage, {1, 2, 3, 4, 5, 6, 7, 8}, 0, false));
  return writer;
}

TEST(RollbackJournal, AHotJournalWaitsWhileItsWriterHoldsTheLock) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  makeDatabase(db);
  FileHandle writer = lockedMidStatement(db);
  ASSERT_TRUE(writer.isOpen());
  EXPECT_FALSE(RollbackJournal::recover(db));
  EXPECT_TRUE(std::filesystem::exists(RollbackJournal::pathFor(db)));
  EXPECT_EQ(checkWhole(db), 1u);
  // Once the writer is gone, the next one to open rolls the statement back.
  writer = FileHandle();
  EXPECT_TRUE(RollbackJournal::recover(db));
  EXPECT_EQ(checkWhole(db), 0u);
}

TEST(RollbackJournal, TheLockHolderRecoversThroughItsOwnHandle) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  makeDatabase(db);
  FileHandle writer = lockedMidStatement(db);
  ASSERT_TRUE(writer.isOpen());
  EXPECT_TRUE(RollbackJournal::recover(writer));
  EXPECT_FALSE(std::filesystem::exists(RollbackJournal::pathFor(db)));
  EXPECT_EQ(checkWhole(db), 0u);
  // The handle is still the writer's, lock included.
  FileHandle other(db, FileHandle::Mode::ReadOnly);
  EXPECT_FALSE(other.tryLock());
}

TEST(RollbackJournal, KilledWriterLeavesEveryStatementWholeOrAbsent) {
  for (int round = 0; round < 6; ++round) {
    jetwrite_test::TempDir dir;
    const std::string db = dir.file("kill.mdb");
    makeDatabase(db);
    int started[2];
    ASSERT_EQ(::pipe(started), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      RollbackJournal journal(db, kPage, SyncPolicy::Off);
      FileHandle f(db, FileHandle::Mode::ReadWrite);
      journal.apply(f, statement(1));
      const char one = 1;
      (void)!::write(started[1], &one, 1);
      for (std::uint32_t i = 2; i < 100000; ++i) journal.apply(f, statement(i));
      ::_exit(0);
    }
    char one = 0;
    ASSERT_EQ(::read(started[0], &one, 1), 1);
    ::close(started[0]);
    ::close(started[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(1 + 7 * round));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer finished before it was killed";
    RollbackJournal::recover(db);
    EXPECT_FALSE(std::filesystem::exists(RollbackJournal::pathFor(db)));
    EXPECT_GE(checkWhole(db), 1u) << "round " << round;
  }
}

}  // namespace
}  // namespace jet::journal
