// The rollback journal that makes each statement all or nothing. A
// statement's changed pages are applied in one step: first the original
// bytes of every range it changes in existing pages, and the file's size,
// go to a journal beside the database ("<database>-journal"); only then
// are the changed ranges and appended pages written. Afterwards the
// journal's header is wiped, which is the moment the statement counts as
// done - or, for a journal that carries the new bytes too (under Off, for
// a statement that appends no page), the moment the last of them is in the
// database, which saves the wipe. A journal found with an intact header
// when the database is next opened, whose new bytes (if it has them) are
// not all in the database, belongs to a statement that did not finish: its
// originals are written back, pages the statement appended are cut off,
// and the journal is removed. Rollback is right however much of the database writes got
// through, a page write torn part-way included, since every byte written
// outside the journaled ranges equals what was there.
//
// What survives what depends on the sync policy:
//  - Off: the journal and the database are written with plain writes. A
//    process that crashes or is killed at any point leaves a database that
//    recovery brings back to the state before the interrupted statement
//    (the operating system keeps what was written). A crash of the whole
//    machine or a power loss may leave the file damaged.
//  - Full: the journal is synced before the database is touched, the
//    database is synced before the journal is wiped, and the wipe is synced
//    too, so statements are whole, absent or - once they returned - kept,
//    also across power loss; it costs three syncs per statement.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "jet/journal/file_handle.h"
#include "jet/journal/journal_format.h"
#include "jet/journal/statement_lock.h"

namespace jet::journal {

enum class SyncPolicy { Off, Full };

class RollbackJournal {
 public:
  static std::string pathFor(const std::string& databasePath);

  // Rolls back an unfinished statement's journal into the database and
  // removes the journal; true when there was one to roll back. Must run
  // before the database is read. While a writer holds the database's lock
  // (FileHandle::tryLock) the journal is its own, possibly in the middle of
  // a statement, and is left alone.
  static bool recover(const std::string& databasePath);
  // The same for the writer itself, which holds the lock through
  // `database`, opened for writing.
  static bool recover(FileHandle& database);

  RollbackJournal(std::string databasePath, std::size_t pageSize, SyncPolicy policy);
  RollbackJournal(const RollbackJournal&) = delete;
  RollbackJournal& operator=(const RollbackJournal&) = delete;
  // Removes the journal file, whose statements have all finished.
  ~RollbackJournal();

  // Writes `pages` (page number -> new bytes, each one page long) into
  // `database`, which is `databaseSize` bytes long, as one change; the
  // originals come from `original`, the changed ranges from `ranges` when
  // given, else from comparing. On failure the database is rolled back
  // before the error is passed on.
  void apply(FileHandle& database, std::uint64_t databaseSize, const PageImages& pages,
             const PageReader& original, const RangeFinder& ranges = {});
  // The same, reading sizes and originals from the file.
  void apply(FileHandle& database, const PageImages& pages);

  // A statement that writes pages past the database's end before apply()
  // (a long copy that cannot keep them all in memory) calls this first: the
  // journal then records the size to cut the database back to, so that the
  // statement stays whole or absent. Those pages need no originals. The
  // next apply() or abandonGrowth() ends the protection.
  void protectGrowth(std::uint64_t databaseSize);
  // Cuts the database back to the size protectGrowth() recorded, for a
  // statement that failed after writing pages ahead.
  void abandonGrowth(FileHandle& database);

 private:
  void openJournal();
  void wipeHeader();
  // Writes `writes`, those that meet in the file in one call each run.
  void writeRuns(FileHandle& database, std::span<const FileWrite> writes);

  std::string databasePath_;
  std::size_t pageSize_;
  SyncPolicy policy_;
  FileHandle journal_;
  std::optional<std::uint64_t> growingFrom_;        // set by protectGrowth()
  StatementJournal encoded_;                        // the last statement's, its buffers reused
  std::vector<std::span<const std::uint8_t>> run_;  // writeRuns()'s, reused
  // Made by the first apply(), for its database; the database must stay
  // the same file for the journal's lifetime.
  std::optional<WriterStatementLock> statementLock_;
};

}  // namespace jet::journal
