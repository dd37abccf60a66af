// The bytes of a statement's journal, apart from any file: what
// RollbackJournal writes before it touches the database, and reads back to
// undo a statement that did not finish.
//
// Header (40 bytes): magic "FVJRNL03" (8), page size (4), record count
// (4), database size before the statement (8), length of the records (4),
// CRC-32C of the records (4), length of the new bytes (4), CRC-32C of the
// preceding 36 bytes (4). Records follow: page number (4), offset in the
// page (4), length (4), the original bytes of that range. A record holds
// only bytes the statement changes; pages it appends have none, since
// rollback cuts the file back to its old size.
//
// Header and records are written in one call, and the database only after
// that call returned. A journal whose records do not match the header's
// CRC was therefore cut short before the database was touched (a killed
// process, or under the Full policy a power loss before the journal's
// sync) and is ignored: the database holds the state before the statement.
//
// A journal may also carry, after the records, the new bytes of every
// record's range, in record order. Such a journal marks its statement done
// once the database holds them all, so that the writer need not wipe the
// header afterwards, a write call per statement saved: recovery finds the
// new bytes in the database and leaves it as it is. The new bytes need no
// CRC: while the database is untouched, keeping it and rolling it back
// come to the same, and once it is touched the journal was written whole.
// That holds for a killed process, whose last write is cut short at most;
// it does not for a power loss, which may keep a later journal's bytes
// without its header, so that a synced writer wipes as before. A
// statement that appends pages needs the wipe too: the new bytes do not
// cover the appended pages.
//
// The layout before this one ("FVJRNL02", a 36-byte header without the
// length of the new bytes, IEEE CRC-32) is still read, so that a statement cut short
// by an earlier version of the program is rolled back all the same.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "jet/journal/changed_ranges.h"

namespace jet::journal {

inline constexpr std::size_t kJournalHeaderSize = 40;
// The magic that begins every layout's header.
inline constexpr std::size_t kJournalMagicSize = 8;

// Page number -> the page's new bytes, each one page long.
using PageImages = std::map<std::uint32_t, std::vector<std::uint8_t>>;
// The current bytes of an existing page; valid until the next call.
using PageReader = std::function<std::span<const std::uint8_t>(std::uint32_t page)>;
// Appends to `out` the ranges of `page` that differ between its original
// and its new bytes, as appendChangedRanges() finds them; a writer that
// knows what it changed names them instead of comparing the pages.
using RangeFinder = std::function<void(std::uint32_t page, std::span<const std::uint8_t> original,
                                       std::span<const std::uint8_t> now, std::vector<ByteRange>& out)>;

// Bytes to put at a place in the database file.
struct FileWrite {
  std::uint64_t at = 0;
  std::span<const std::uint8_t> bytes;
};

// Equal bytes, at most this many, around the boundary of two neighbouring
// changed pages that their writes take along so as to meet.
inline constexpr std::size_t kJoinedBoundary = 4096;

struct StatementJournal {
  std::vector<std::uint8_t> image;  // header and records
  // What the statement writes into the database once the journal is
  // written, one piece per page, in file order; the pieces of neighbouring
  // pages meet when they changed near their boundary (kJoinedBoundary).
  // The spans refer to the PageImages the journal was made from.
  std::vector<FileWrite> writes;
  // Whether the image carries the new bytes, so that the statement counts
  // as done once the writes are in the database, without a wipe.
  bool endsWhenWritten = false;
  // The changed ranges of the page being encoded and the new bytes of all
  // ranges, kept only so that the next statement reuses the memory.
  std::vector<ByteRange> ranges;
  std::vector<std::uint8_t> newBytes;
};

// The journal of a statement changing `pages` of a database `databaseSize`
// bytes long, with originals from `original`. Pages that equal their
// originals are neither journaled nor written.
StatementJournal encodeJournal(std::size_t pageSize, std::uint64_t databaseSize, const PageImages& pages,
                               const PageReader& original);
// The same into `journal`, whose buffers a writer keeps from statement to
// statement, so that a one-row statement allocates nothing here; with the
// new bytes (`withNewBytes`) unless the statement appends pages; the
// changed ranges from `ranges` when it is given.
void encodeJournal(std::size_t pageSize, std::uint64_t databaseSize, const PageImages& pages,
                   const PageReader& original, StatementJournal& journal, bool withNewBytes,
                   const RangeFinder& ranges = {});

struct JournalHeader {
  std::uint32_t pageSize = 0;
  std::uint32_t records = 0;
  std::uint64_t databaseSize = 0;
  std::uint32_t recordsLength = 0;
  std::uint32_t recordsCrc = 0;
  std::uint32_t newBytesLength = 0;       // none in the earlier layout
  std::size_t size = kJournalHeaderSize;  // where the records begin
};

// The size of the header whose magic (kJournalMagicSize bytes) begins
// `head`, in either layout; 0 when it is wiped or not a journal's.
std::size_t headerSizeOf(std::span<const std::uint8_t> head);
// The header at the start of `head` (headerSizeOf() bytes), unless it is
// wiped, torn or not a journal's.
std::optional<JournalHeader> decodeHeader(std::span<const std::uint8_t> head);

// The original bytes to write back, each with its place in the database;
// the spans refer to `records` (the header's recordsLength bytes after the
// header); none when the records were cut short. Raises jet::Error for
// records that check out yet do not fit the pages.
std::optional<std::vector<FileWrite>> decodeOriginals(const JournalHeader& header,
                                                      std::span<const std::uint8_t> records);

// Whether `database` holds the new bytes (the header's newBytesLength
// bytes after the records) of every range of `originals`: the statement's
// writes all landed. False for a journal without new bytes.
bool newBytesInPlace(const std::vector<FileWrite>& originals, std::span<const std::uint8_t> newBytes,
                     const std::function<bool(std::uint64_t at, std::span<std::uint8_t> out)>& readDatabase);

}  // namespace jet::journal
