// The bytes of a statement's journal, apart from any file: what
// RollbackJournal writes before it touches the database, and reads back to
// undo a statement that did not finish.
//
// Header (36 bytes): magic (8), page size (4), record count (4), database
// size before the statement (8), length of the records (4), CRC of the
// records (4), CRC of the preceding 32 bytes (4). Records follow: page
// number (4), offset in the page (4), length (4), the original bytes of
// that range. A record holds only bytes the statement changes; pages it
// appends have none, since rollback cuts the file back to its old size.
//
// Header and records are written in one call, and the database only after
// that call returned. A journal whose records do not match the header's
// CRC was therefore cut short before the database was touched (a killed
// process, or under the Full policy a power loss before the journal's
// sync) and is ignored: the database holds the state before the statement.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace jet::journal {

inline constexpr std::size_t kJournalHeaderSize = 36;

// Page number -> the page's new bytes, each one page long.
using PageImages = std::map<std::uint32_t, std::vector<std::uint8_t>>;
// The current bytes of an existing page; valid until the next call.
using PageReader = std::function<std::span<const std::uint8_t>(std::uint32_t page)>;

// Bytes to put at a place in the database file.
struct FileWrite {
  std::uint64_t at = 0;
  std::span<const std::uint8_t> bytes;
};

struct StatementJournal {
  std::vector<std::uint8_t> image;  // header and records
  // What the statement writes into the database once the journal is
  // written, one piece per page; the spans refer to the PageImages it was
  // made from.
  std::vector<FileWrite> writes;
};

// The journal of a statement changing `pages` of a database `databaseSize`
// bytes long, with originals from `original`. Pages that equal their
// originals are neither journaled nor written.
StatementJournal encodeJournal(std::size_t pageSize, std::uint64_t databaseSize,
                               const PageImages& pages, const PageReader& original);

struct JournalHeader {
  std::uint32_t pageSize = 0;
  std::uint32_t records = 0;
  std::uint64_t databaseSize = 0;
  std::uint32_t recordsLength = 0;
  std::uint32_t recordsCrc = 0;
};

// The header at the start of `head` (kJournalHeaderSize bytes), unless it
// is wiped, torn or not a journal's.
std::optional<JournalHeader> decodeHeader(std::span<const std::uint8_t> head);

// The original bytes to write back, each with its place in the database;
// the spans refer to `records` (the header's recordsLength bytes after the
// header); none when the records were cut short. Raises jet::Error for
// records that check out yet do not fit the pages.
std::optional<std::vector<FileWrite>> decodeOriginals(const JournalHeader& header,
                                       std::span<const std::uint8_t> records);

}  // namespace jet::journal
