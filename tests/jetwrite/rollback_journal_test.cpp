// Statements applied through the rollback journal are whole or absent,
// also when the process applying them is killed.
#include "jet/journal/rollback_journal.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>

#include "jet/journal/crc32.h"
#include "jet/journal/journal_format.h"
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
  // CRC-32C's check value, and the carry over a split in the middle of a word.
  EXPECT_EQ(crc32c(std::span(reinterpret_cast<const std::uint8_t*>(check.data()), check.size())),
            0xE3069283u);
  EXPECT_EQ(crc32c(std::span(bytes).subspan(13), crc32c(std::span(bytes).first(13))), crc32c(bytes));
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

std::vector<std::uint8_t> contentsOf(const std::string& path) {
  FileHandle f(path, FileHandle::Mode::ReadOnly);
  std::vector<std::uint8_t> bytes(f.size());
  EXPECT_TRUE(f.readAt(0, bytes));
  return bytes;
}

// The journal of `pages` as the writer makes it, originals read from `db`.
StatementJournal journalOf(const FileHandle& db, const PageImages& pages) {
  std::vector<std::uint8_t> buffer(kPage);
  return encodeJournal(kPage, db.size(), pages, [&](std::uint32_t page) {
    EXPECT_TRUE(db.readAt(static_cast<std::uint64_t>(page) * kPage, buffer));
    return std::span<const std::uint8_t>(buffer);
  });
}

// A hot journal of `pages` beside `path`, written before any of them.
StatementJournal leaveHotJournal(const std::string& path, const PageImages& pages) {
  FileHandle f(path, FileHandle::Mode::ReadWrite);
  StatementJournal journal = journalOf(f, pages);
  FileHandle j(RollbackJournal::pathFor(path), FileHandle::Mode::CreateReadWrite);
  j.writeAt(0, journal.image);
  return journal;
}

TEST(RollbackJournal, RecoveryRestoresOriginalsAndCutsAppendedPages) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  makeDatabase(db);
  {
    // Statement 1 wrote pages 1-8 and appended page 9, then died.
    const PageImages pages = statement(1);
    const StatementJournal journal = leaveHotJournal(db, pages);
    FileHandle f(db, FileHandle::Mode::ReadWrite);
    for (const FileWrite& w : journal.writes) f.writeAt(w.at, w.bytes);
  }
  EXPECT_TRUE(RollbackJournal::recover(db));
  EXPECT_FALSE(std::filesystem::exists(RollbackJournal::pathFor(db)));
  EXPECT_EQ(checkWhole(db), 0u);
}

// Pages of pseudo-random bytes, and a statement that changes scattered
// short runs in some of them (a header field, a row, a lone byte) and
// appends two pages, as an INSERT does.
struct ScatteredChange {
  std::vector<std::uint8_t> before;
  PageImages pages;
};

ScatteredChange scatteredChange(const std::string& path, unsigned seed) {
  std::mt19937 random(seed);
  ScatteredChange change;
  change.before.resize(12 * kPage);
  for (auto& b : change.before) b = static_cast<std::uint8_t>(random());
  FileHandle(path, FileHandle::Mode::CreateReadWrite).writeAt(0, change.before);
  for (std::uint32_t page : {0u, 3u, 4u, 11u}) {
    auto bytes = std::vector<std::uint8_t>(change.before.begin() + page * kPage,
                                           change.before.begin() + (page + 1) * kPage);
    for (int run = 0; run < 4; ++run) {
      const std::size_t at = random() % kPage;
      const std::size_t length = std::min<std::size_t>(1 + random() % 90, kPage - at);
      for (std::size_t i = at; i < at + length; ++i)
        bytes[i] = static_cast<std::uint8_t>(bytes[i] + 1 + random() % 255);
    }
    change.pages[page] = std::move(bytes);
  }
  change.pages[12] = std::vector<std::uint8_t>(kPage, 0xAB);
  change.pages[13] = std::vector<std::uint8_t>(kPage, 0xCD);
  return change;
}

// Makes the scattered change of `seed` with a hot journal, lets the
// database writes through - all of them, or those before the one picked
// by `torn` and the first half of that one -, recovers and expects the
// file byte for byte as before.
void expectRestored(unsigned seed, std::optional<std::size_t> torn) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  const ScatteredChange change = scatteredChange(db, seed);
  const StatementJournal journal = leaveHotJournal(db, change.pages);
  {
    FileHandle f(db, FileHandle::Mode::ReadWrite);
    const std::size_t whole = torn ? *torn % journal.writes.size() : journal.writes.size();
    for (std::size_t i = 0; i < whole; ++i) f.writeAt(journal.writes[i].at, journal.writes[i].bytes);
    if (torn) {
      const FileWrite& cut = journal.writes[whole];
      f.writeAt(cut.at, cut.bytes.first((cut.bytes.size() + 1) / 2));
    }
  }
  ASSERT_NE(contentsOf(db), change.before);
  EXPECT_TRUE(RollbackJournal::recover(db));
  EXPECT_EQ(contentsOf(db), change.before) << "seed " << seed;
}

TEST(RollbackJournal, RangeRecordsRestoreTheFileByteForByte) {
  for (unsigned seed = 1; seed <= 20; ++seed) expectRestored(seed, std::nullopt);
}

TEST(RollbackJournal, APageWriteTornPartWayIsRolledBackToTheOriginal) {
  for (unsigned seed = 1; seed <= 20; ++seed) expectRestored(seed, seed);
}

TEST(RollbackJournal, AJournalTornInItsOneWriteIsIgnored) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  const ScatteredChange change = scatteredChange(db, 7);
  StatementJournal journal;
  {
    FileHandle f(db, FileHandle::Mode::ReadWrite);
    journal = journalOf(f, change.pages);
  }
  // Under the new journal lies either nothing or an older, wiped one of
  // other bytes, longer than the new one.
  const std::size_t whole = journal.image.size();
  std::vector<std::uint8_t> older(whole + kPage, 0x5A);
  for (std::size_t i = 8; i < whole; ++i) older[i] = static_cast<std::uint8_t>(~journal.image[i]);
  for (const bool overOlder : {false, true}) {
    for (const std::size_t cut : {std::size_t{1}, kJournalHeaderSize - 1, kJournalHeaderSize,
                                  kJournalHeaderSize + 13, whole / 2, whole - 1}) {
      {
        FileHandle j(RollbackJournal::pathFor(db), FileHandle::Mode::CreateReadWrite);
        if (overOlder) j.writeAt(0, older);
        j.writeAt(0, std::span(journal.image).first(cut));
      }
      EXPECT_FALSE(RollbackJournal::recover(db)) << "cut after " << cut << " bytes";
      EXPECT_FALSE(std::filesystem::exists(RollbackJournal::pathFor(db)));
      EXPECT_EQ(contentsOf(db), change.before) << "cut after " << cut << " bytes";
    }
  }
}

TEST(RollbackJournal, AJournalWithTheNewBytesKeepsAStatementWhoseWritesAllLanded) {
  for (unsigned seed = 1; seed <= 8; ++seed) {
    jetwrite_test::TempDir dir;
    const std::string db = dir.file("a.mdb");
    ScatteredChange change = scatteredChange(db, seed);
    change.pages.erase(12);  // nothing appended, as a one-row INSERT mostly is
    change.pages.erase(13);
    std::vector<std::uint8_t> after = change.before;
    for (const auto& [page, bytes] : change.pages)
      std::copy(bytes.begin(), bytes.end(), after.begin() + page * kPage);
    StatementJournal journal;
    {
      const FileHandle f(db, FileHandle::Mode::ReadOnly);
      std::vector<std::uint8_t> buffer(kPage);
      encodeJournal(
          kPage, f.size(), change.pages,
          [&](std::uint32_t page) {
            EXPECT_TRUE(f.readAt(static_cast<std::uint64_t>(page) * kPage, buffer));
            return std::span<const std::uint8_t>(buffer);
          },
          journal, true);
    }
    ASSERT_TRUE(journal.endsWhenWritten);
    // The writes that got through: none, some (the next one torn half-way) or all.
    for (std::size_t landed = 0; landed <= journal.writes.size(); ++landed) {
      FileHandle(db, FileHandle::Mode::ReadWrite).writeAt(0, change.before);
      FileHandle(RollbackJournal::pathFor(db), FileHandle::Mode::CreateReadWrite).writeAt(0, journal.image);
      {
        FileHandle f(db, FileHandle::Mode::ReadWrite);
        for (std::size_t i = 0; i < landed; ++i) f.writeAt(journal.writes[i].at, journal.writes[i].bytes);
        if (landed < journal.writes.size()) {
          const FileWrite& torn = journal.writes[landed];
          f.writeAt(torn.at, torn.bytes.first(torn.bytes.size() / 2));
        }
      }
      const bool whole = landed == journal.writes.size();
      EXPECT_EQ(RollbackJournal::recover(db), !whole) << "seed " << seed << ", " << landed << " writes";
      EXPECT_FALSE(std::filesystem::exists(RollbackJournal::pathFor(db)));
      EXPECT_EQ(contentsOf(db), whole ? after : change.before)
          << "seed " << seed << ", " << landed << " writes";
    }
  }
}

TEST(RollbackJournal, AJournalOfTheEarlierLayoutIsStillRolledBack) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  const ScatteredChange change = scatteredChange(db, 3);
  StatementJournal journal;
  {
    FileHandle f(db, FileHandle::Mode::ReadWrite);
    journal = journalOf(f, change.pages);
    for (const FileWrite& w : journal.writes) f.writeAt(w.at, w.bytes);
  }
  // The earlier header: magic "FVJRNL02", the same fields up to the
  // records' CRC, then its own CRC, both IEEE CRC-32; the records as they
  // are now.
  const auto records = std::span(journal.image).subspan(kJournalHeaderSize);
  std::vector<std::uint8_t> earlier(journal.image.begin(), journal.image.begin() + 28);
  earlier[7] = '2';
  const auto append32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) earlier.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  append32(crc32(records));
  append32(crc32(earlier));
  earlier.insert(earlier.end(), records.begin(), records.end());
  FileHandle(RollbackJournal::pathFor(db), FileHandle::Mode::CreateReadWrite).writeAt(0, earlier);
  ASSERT_NE(contentsOf(db), change.before);
  EXPECT_TRUE(RollbackJournal::recover(db));
  EXPECT_EQ(contentsOf(db), change.before);
}

TEST(RollbackJournal, PagesEqualToTheirOriginalsAreNeitherJournaledNorWritten) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  makeDatabase(db);
  FileHandle f(db, FileHandle::Mode::ReadWrite);
  PageImages pages;
  pages[2] = pageWith(0);
  pages[5] = pageWith(0);
  pages[5][300] ^= 1;
  const StatementJournal journal = journalOf(f, pages);
  ASSERT_EQ(journal.writes.size(), 1u);
  EXPECT_EQ(journal.writes[0].at, 5 * kPage + 300);
  EXPECT_EQ(journal.writes[0].bytes.size(), 1u);
  RollbackJournal writer(db, kPage, SyncPolicy::Off);
  pages.erase(5);
  writer.apply(f, pages);
  EXPECT_FALSE(std::filesystem::exists(RollbackJournal::pathFor(db)));
}

TEST(RollbackJournal, WritesOfNeighbouringPagesMeetOverAFewEqualBytes) {
  constexpr std::size_t kBig = 4096;
  const std::vector<std::uint8_t> blank(kBig, 0);
  PageImages pages;
  for (const std::uint32_t p : {1u, 2u, 4u, 5u}) pages[p] = blank;
  pages[1][4000] = 1;  // 95 + 100 equal bytes to the change on page 2: one run
  pages[2][100] = 1;
  pages[4][10] = 1;  // 4085 + 4090 equal bytes: two writes
  pages[5][4090] = 1;
  const StatementJournal journal =
      encodeJournal(kBig, 8 * kBig, pages, [&](std::uint32_t) { return std::span(blank); });
  ASSERT_EQ(journal.writes.size(), 4u);
  EXPECT_EQ(journal.writes[0].at, kBig + 4000);
  EXPECT_EQ(journal.writes[0].bytes.size(), kBig - 4000);
  EXPECT_EQ(journal.writes[1].at, 2 * kBig);
  EXPECT_EQ(journal.writes[1].bytes.size(), 101u);
  EXPECT_EQ(journal.writes[2].at, 4 * kBig + 10);
  EXPECT_EQ(journal.writes[2].bytes.size(), 1u);
  EXPECT_EQ(journal.writes[3].at, 5 * kBig + 4090);
  EXPECT_EQ(journal.writes[3].bytes.size(), 1u);
}

TEST(RollbackJournal, AWipedJournalIsRemovedWithoutRollback) {
  jetwrite_test::TempDir dir;
  const std::string db = dir.file("a.mdb");
  makeDatabase(db);
  {
    FileHandle j(RollbackJournal::pathFor(db), FileHandle::Mode::CreateReadWrite);
    PageImages pages;
    pages[1] = pageWith(5);
    FileHandle f(db, FileHandle::Mode::ReadOnly);
    auto image = journalOf(f, pages).image;
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
  const PageImages pages = statement(1);
  const StatementJournal journal = leaveHotJournal(db, pages);
  for (const FileWrite& w : journal.writes) writer.writeAt(w.at, w.bytes);
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
