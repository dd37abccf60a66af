#include "jet/journal/rollback_journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <optional>

#include "jet/error.h"
#include "jet/journal/crc32.h"

namespace jet::journal {
namespace {

// Header: magic (8), page size (4), record count (4), database size before
// the statement (8), CRC of the preceding 24 bytes (4). Each record: page
// number (4), the page's original bytes, CRC of number and bytes (4). The
// record CRCs guard against records torn by a power loss, which only the
// Full policy survives; under Off they are written as zero and not checked
// (the header that makes records count is written after them, so a killed
// process cannot leave a header over torn records), which saves most of a
// statement's CPU time.
constexpr std::array<std::uint8_t, 8> kMagic = {'F', 'V', 'J', 'R', 'N', 'L', '0', '1'};
constexpr std::size_t kHeaderSize = 28;

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put64(std::vector<std::uint8_t>& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
std::uint64_t get(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

void syncDirectoryOf(const std::string& path) {
  const std::string dir = std::filesystem::path(path).parent_path().string();
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

constexpr std::uint32_t kUncheckedFlag = 0x80000000;  // in the page size field

struct JournalHeader {
  bool checked = true;
  std::uint32_t pageSize = 0;
  std::uint32_t records = 0;
  std::uint64_t databaseSize = 0;
};

std::optional<JournalHeader> readHeader(const FileHandle& journal) {
  std::array<std::uint8_t, kHeaderSize> h{};
  if (!journal.readAt(0, h)) return std::nullopt;
  if (!std::equal(kMagic.begin(), kMagic.end(), h.begin())) return std::nullopt;
  if (crc32(std::span(h).first(24)) != get(h, 24, 4)) return std::nullopt;
  const auto sizeField = static_cast<std::uint32_t>(get(h, 8, 4));
  JournalHeader header{(sizeField & kUncheckedFlag) == 0, sizeField & ~kUncheckedFlag,
                       static_cast<std::uint32_t>(get(h, 12, 4)), get(h, 16, 8)};
  if (header.pageSize == 0 || header.pageSize > 65536) return std::nullopt;
  return header;
}

// Writes every intact record back and restores the size. Records that do
// not check out were torn before the database was touched.
void rollBack(const FileHandle& journal, const JournalHeader& header, FileHandle& database) {
  std::vector<std::uint8_t> record(4 + header.pageSize + 4);
  for (std::uint32_t i = 0; i < header.records; ++i) {
    const std::uint64_t at = kHeaderSize + static_cast<std::uint64_t>(i) * record.size();
    if (!journal.readAt(at, record)) break;
    const auto body = std::span(record).first(4 + header.pageSize);
    if (header.checked && crc32(body) != get(record, 4 + header.pageSize, 4)) continue;
    const std::uint64_t page = get(record, 0, 4);
    database.writeAt(page * header.pageSize, body.subspan(4));
  }
  if (database.size() > header.databaseSize) database.truncate(header.databaseSize);
  database.sync();
}

// Rolls back a journal with an intact header into the database that
// `writable` opens, then removes the journal. The caller holds the lock.
bool rollBackAndRemove(const std::string& databasePath,
                       const std::function<FileHandle&()>& writable) {
  const std::string path = RollbackJournal::pathFor(databasePath);
  bool rolledBack = false;
  {
    FileHandle journal(path, FileHandle::Mode::ReadWrite);
    if (const auto header = readHeader(journal)) {
      rollBack(journal, *header, writable());
      rolledBack = true;
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
  if (!std::filesystem::exists(pathFor(databasePath)) || !std::filesystem::exists(databasePath))
    return false;
  // Locking needs no write access: a read-only database beside a wiped
  // journal still opens.
  FileHandle lock(databasePath, FileHandle::Mode::ReadOnly);
  if (!lock.tryLock()) return false;
  std::optional<FileHandle> writable;
  return rollBackAndRemove(databasePath, [&]() -> FileHandle& {
    return writable.emplace(databasePath, FileHandle::Mode::ReadWrite);
  });
}

bool RollbackJournal::recover(FileHandle& database) {
  if (!std::filesystem::exists(pathFor(database.path()))) return false;
  return rollBackAndRemove(database.path(), [&database]() -> FileHandle& { return database; });
}

RollbackJournal::RollbackJournal(std::string databasePath, std::size_t pageSize,
                                 SyncPolicy policy)
    : databasePath_(std::move(databasePath)), pageSize_(pageSize), policy_(policy) {}

RollbackJournal::~RollbackJournal() {
  if (!journal_.isOpen()) return;
  journal_ = FileHandle();
  std::error_code ignored;
  std::filesystem::remove(pathFor(databasePath_), ignored);
}

std::vector<std::uint8_t> RollbackJournal::journalImage(std::uint64_t size, const PageImages& pages,
                                                        const PageReader& readOriginal) const {
  // Sized once and filled in place: for the one-row statements of a copy
  // the journal's copying is a good part of the statement's work.
  std::vector<std::uint8_t> image;
  image.reserve(kHeaderSize + pages.size() * (4 + pageSize_ + 4));
  image.assign(kMagic.begin(), kMagic.end());
  const bool checked = policy_ == SyncPolicy::Full;
  put32(image, static_cast<std::uint32_t>(pageSize_) | (checked ? 0 : kUncheckedFlag));
  const std::size_t countAt = image.size();
  put32(image, 0);
  put64(image, size);
  put32(image, 0);  // header CRC, set below

  std::uint32_t records = 0;
  for (const auto& [number, bytes] : pages) {
    const std::uint64_t at = static_cast<std::uint64_t>(number) * pageSize_;
    if (at + pageSize_ > size) continue;  // appended: cut off on rollback
    const std::size_t start = image.size();
    put32(image, number);
    image.resize(image.size() + pageSize_);
    readOriginal(number, std::span(image).last(pageSize_));
    put32(image, checked ? crc32(std::span(image).subspan(start)) : 0);
    ++records;
  }
  for (int i = 0; i < 4; ++i) image[countAt + i] = static_cast<std::uint8_t>(records >> (8 * i));
  const std::uint32_t headerCrc = crc32(std::span(image).first(24));
  for (int i = 0; i < 4; ++i) image[24 + i] = static_cast<std::uint8_t>(headerCrc >> (8 * i));
  return image;
}

void RollbackJournal::wipeHeader() {
  const std::array<std::uint8_t, kMagic.size()> zeros{};
  journal_.writeAt(0, zeros);
  if (policy_ == SyncPolicy::Full) journal_.sync();
}

void RollbackJournal::apply(FileHandle& database, const PageImages& pages) {
  apply(database, database.size(), pages, [&](std::uint32_t page, std::span<std::uint8_t> out) {
    if (!database.readAt(static_cast<std::uint64_t>(page) * pageSize_, out))
      throw Error(errc::kFailure, "The database file is shorter than a page it holds.");
  });
}

void RollbackJournal::apply(FileHandle& database, std::uint64_t databaseSize, const PageImages& pages,
                            const PageReader& original) {
  if (pages.empty()) return;
  for (const auto& [number, bytes] : pages)
    if (bytes.size() != pageSize_) throw Error(errc::kFailure, "A page image has the wrong size.");
  if (!journal_.isOpen()) {
    journal_ = FileHandle(pathFor(databasePath_), FileHandle::Mode::CreateReadWrite);
    if (policy_ == SyncPolicy::Full) syncDirectoryOf(databasePath_);
  }
  // The records first, then the header that makes them count: a write cut
  // short by a killed process leaves the old, wiped header in place.
  const std::vector<std::uint8_t> image = journalImage(databaseSize, pages, original);
  journal_.writeAt(kHeaderSize, std::span(image).subspan(kHeaderSize));
  journal_.writeAt(0, std::span(image).first(kHeaderSize));
  if (policy_ == SyncPolicy::Full) journal_.sync();
  try {
    for (const auto& [number, bytes] : pages)
      database.writeAt(static_cast<std::uint64_t>(number) * pageSize_, bytes);
    if (policy_ == SyncPolicy::Full) database.sync();
  } catch (...) {
    if (const auto header = readHeader(journal_)) rollBack(journal_, *header, database);
    wipeHeader();
    throw;
  }
  wipeHeader();
}

}  // namespace jet::journal
