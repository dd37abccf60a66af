#include "jet/journal/rollback_journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <optional>

#include "jet/error.h"
#include "jet/journal/statement_lock.h"

namespace jet::journal {
namespace {

void syncDirectoryOf(const std::string& path) {
  const std::string dir = std::filesystem::path(path).parent_path().string();
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes the originals back and restores the size.
void restore(const JournalHeader& header, const std::vector<FileWrite>& originals, FileHandle& database) {
  for (const FileWrite& original : originals) database.writeAt(original.at, original.bytes);
  if (database.size() > header.databaseSize) database.truncate(header.databaseSize);
  database.sync();
}

// Rolls the journal's statement back; false when there was nothing to
// undo: the journal was cut short before the database was touched, or the
// database holds the statement's new bytes already.
bool rollBack(const JournalHeader& header, std::span<const std::uint8_t> records,
              std::span<const std::uint8_t> newBytes, const FileHandle& readable,
              const std::function<FileHandle&()>& writable) {
  const auto originals = decodeOriginals(header, records);
  if (!originals) return false;
  const auto readDatabase = [&](std::uint64_t at, std::span<std::uint8_t> out) {
    return readable.readAt(at, out);
  };
  if (newBytesInPlace(*originals, newBytes, readDatabase)) return false;
  FileHandle& database = writable();
  const StatementLock restoring(database.descriptor(), StatementAccess::Apply, database.path());
  restore(header, *originals, database);
  return true;
}

// The journal's header, unless it is wiped, torn or missing.
std::optional<JournalHeader> readHeader(const FileHandle& journal) {
  std::array<std::uint8_t, kJournalHeaderSize> head{};
  if (!journal.readAt(0, std::span(head).first(kJournalMagicSize))) return std::nullopt;
  const std::size_t size = headerSizeOf(head);
  if (size == 0 || !journal.readAt(0, std::span(head).first(size))) return std::nullopt;
  return decodeHeader(std::span(head).first(size));
}

// Rolls back a journal with an intact header into the database, read
// through `readable` and written through what `writable` opens, then
// removes the journal. The caller holds the lock.
bool rollBackAndRemove(const std::string& databasePath, const FileHandle& readable,
                       const std::function<FileHandle&()>& writable) {
  const std::string path = RollbackJournal::pathFor(databasePath);
  bool rolledBack = false;
  {
    FileHandle journal(path, FileHandle::Mode::ReadWrite);
    if (const auto header = readHeader(journal)) {
      std::vector<std::uint8_t> records(header->recordsLength);
      std::vector<std::uint8_t> newBytes(header->newBytesLength);
      if (journal.readAt(header->size, records) && journal.readAt(header->size + records.size(), newBytes))
        rolledBack = rollBack(*header, records, newBytes, readable, writable);
    }
  }
  std::filesystem::remove(path);
  syncDirectoryOf(path);
  return rolledBack;
}

}  // namespace

std::string RollbackJournal::pathFor(const std::string& databasePath) {
  return databasePath + "-journal";
}

bool RollbackJournal::recover(const std::string& databasePath) {
  if (!std::filesystem::exists(pathFor(databasePath)) || !std::filesystem::exists(databasePath)) return false;
  // Locking needs no write access: a read-only database beside a wiped
  // journal still opens.
  FileHandle lock(databasePath, FileHandle::Mode::ReadOnly);
  if (!lock.tryLock()) return false;
  std::optional<FileHandle> writable;
  return rollBackAndRemove(databasePath, lock, [&]() -> FileHandle& {
    return writable.emplace(databasePath, FileHandle::Mode::ReadWrite);
  });
}

bool RollbackJournal::recover(FileHandle& database) {
  if (!std::filesystem::exists(pathFor(database.path()))) return false;
  return rollBackAndRemove(database.path(), database, [&database]() -> FileHandle& { return database; });
}

RollbackJournal::RollbackJournal(std::string databasePath, std::size_t pageSize, SyncPolicy policy)
    : databasePath_(std::move(databasePath)), pageSize_(pageSize), policy_(policy) {}

RollbackJournal::~RollbackJournal() {
  if (!journal_.isOpen()) return;
  journal_ = FileHandle();
  std::error_code ignored;
  std::filesystem::remove(pathFor(databasePath_), ignored);
}

void RollbackJournal::openJournal() {
  if (journal_.isOpen()) return;
  journal_ = FileHandle(pathFor(databasePath_), FileHandle::Mode::CreateReadWrite);
  if (policy_ == SyncPolicy::Full) syncDirectoryOf(databasePath_);
}

void RollbackJournal::protectGrowth(std::uint64_t databaseSize) {
  if (growingFrom_) return;
  openJournal();
  // A journal without records: recovery only cuts the file back.
  const StatementJournal header = encodeJournal(pageSize_, databaseSize, {}, {});
  journal_.writeAt(0, header.image);
  if (policy_ == SyncPolicy::Full) journal_.sync();
  growingFrom_ = databaseSize;
}

void RollbackJournal::abandonGrowth(FileHandle& database) {
  if (!growingFrom_) return;
  database.truncate(*growingFrom_);
  if (policy_ == SyncPolicy::Full) database.sync();
  wipeHeader();
  growingFrom_.reset();
}

void RollbackJournal::wipeHeader() {
  const std::array<std::uint8_t, 8> zeros{};
  journal_.writeAt(0, zeros);
  if (policy_ == SyncPolicy::Full) journal_.sync();
}

void RollbackJournal::writeRuns(FileHandle& database, std::span<const FileWrite> writes) {
  while (!writes.empty()) {
    std::size_t count = 1;
    while (count < writes.size() && writes[count - 1].at + writes[count - 1].bytes.size() == writes[count].at)
      ++count;
    if (count == 1) {
      database.writeAt(writes[0].at, writes[0].bytes);
    } else {
      run_.clear();
      for (std::size_t i = 0; i < count; ++i) run_.push_back(writes[i].bytes);
      database.writeAt(writes[0].at, run_);
    }
    writes = writes.subspan(count);
  }
}

void RollbackJournal::apply(FileHandle& database, const PageImages& pages) {
  std::vector<std::uint8_t> buffer(pageSize_);
  apply(database, database.size(), pages, [&](std::uint32_t page) {
    if (!database.readAt(static_cast<std::uint64_t>(page) * pageSize_, buffer))
      throw Error(errc::kFailure, "The database file is shorter than a page it holds.");
    return std::span<const std::uint8_t>(buffer);
  });
}

void RollbackJournal::apply(FileHandle& database, std::uint64_t databaseSize, const PageImages& pages,
                            const PageReader& original, const RangeFinder& ranges) {
  for (const auto& [number, bytes] : pages)
    if (bytes.size() != pageSize_) throw Error(errc::kFailure, "A page image has the wrong size.");
  // Under Full, the wipe stays: see journal_format.h.
  encodeJournal(pageSize_, databaseSize, pages, original, encoded_, policy_ == SyncPolicy::Off, ranges);
  const StatementJournal& journal = encoded_;
  if (journal.writes.empty() && !growingFrom_) return;
  openJournal();
  const std::span<const std::uint8_t> image(journal.image);
  if (!growingFrom_) {
    // Header and records in one write, the header carrying the records'
    // CRC: a write cut short leaves either the old, wiped header or one
    // whose records do not check out, and recovery ignores both - rightly,
    // since the database is touched only after this write returned (and,
    // under Full, was synced).
    journal_.writeAt(0, image);
  } else {
    // The header of protectGrowth() must stay whole until the new one
    // replaces it, since pages past the old end are already written: the
    // records first, behind it, then the header in a write of its own.
    journal_.writeAt(kJournalHeaderSize, image.subspan(kJournalHeaderSize));
    if (policy_ == SyncPolicy::Full) journal_.sync();
    journal_.writeAt(0, image.first(kJournalHeaderSize));
  }
  if (policy_ == SyncPolicy::Full) journal_.sync();
  if (!statementLock_) statementLock_.emplace(database);
  try {
    statementLock_->whileApplying([&] {
      writeRuns(database, journal.writes);
      if (policy_ == SyncPolicy::Full) database.sync();
    });
  } catch (...) {
    const auto header = decodeHeader(journal.image);
    const auto originals =
        decodeOriginals(*header, std::span(journal.image).subspan(kJournalHeaderSize, header->recordsLength));
    statementLock_->whileApplying([&] { restore(*header, *originals, database); });
    wipeHeader();
    growingFrom_.reset();
    throw;
  }
  // A journal with the new bytes is done with now that they are written.
  if (!journal.endsWhenWritten) wipeHeader();
  growingFrom_.reset();
}

}  // namespace jet::journal
