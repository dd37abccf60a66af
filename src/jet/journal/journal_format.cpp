#include "jet/journal/journal_format.h"

#include <algorithm>
#include <array>

#include "jet/error.h"
#include "jet/journal/changed_ranges.h"
#include "jet/journal/crc32.h"

namespace jet::journal {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'F', 'V', 'J', 'R', 'N', 'L', '0', '2'};
constexpr std::size_t kRecordHead = 12;
constexpr std::size_t kHeaderCrcAt = kJournalHeaderSize - 4;

void put(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
std::uint64_t get(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

}  // namespace

StatementJournal encodeJournal(std::size_t pageSize, std::uint64_t databaseSize,
                               const PageImages& pages, const PageReader& original) {
  StatementJournal journal;
  journal.image.assign(kJournalHeaderSize, 0);
  std::vector<ByteRange> ranges;
  std::uint32_t records = 0;
  for (const auto& [number, bytes] : pages) {
    const std::uint64_t pageAt = static_cast<std::uint64_t>(number) * pageSize;
    if (pageAt + pageSize > databaseSize) {  // appended: cut off on rollback
      journal.writes.push_back({pageAt, bytes});
      continue;
    }
    const auto before = original(number);
    ranges.clear();
    appendChangedRanges(before, bytes, ranges);
    for (const ByteRange& range : ranges) {
      append32(journal.image, number);
      append32(journal.image, range.offset);
      append32(journal.image, range.length);
      const auto kept = before.subspan(range.offset, range.length);
      journal.image.insert(journal.image.end(), kept.begin(), kept.end());
      ++records;
    }
    // The database gets one write per page, from the first changed byte to
    // the last: a write call costs the kernel more than copying the equal
    // bytes between the ranges, which need no journaling for that reason.
    if (!ranges.empty()) {
      const std::uint32_t first = ranges.front().offset;
      const std::uint32_t end = ranges.back().offset + ranges.back().length;
      journal.writes.push_back({pageAt + first, std::span(bytes).subspan(first, end - first)});
    }
  }
  auto& image = journal.image;
  std::copy(kMagic.begin(), kMagic.end(), image.begin());
  put(image, 8, pageSize, 4);
  put(image, 12, records, 4);
  put(image, 16, databaseSize, 8);
  put(image, 24, image.size() - kJournalHeaderSize, 4);
  put(image, 28, crc32(std::span(image).subspan(kJournalHeaderSize)), 4);
  put(image, kHeaderCrcAt, crc32(std::span(image).first(kHeaderCrcAt)), 4);
  return journal;
}

std::optional<JournalHeader> decodeHeader(std::span<const std::uint8_t> head) {
  if (head.size() < kJournalHeaderSize) return std::nullopt;
  if (!std::equal(kMagic.begin(), kMagic.end(), head.begin())) return std::nullopt;
  if (crc32(head.first(kHeaderCrcAt)) != get(head, kHeaderCrcAt, 4)) return std::nullopt;
  JournalHeader header;
  header.pageSize = static_cast<std::uint32_t>(get(head, 8, 4));
  header.records = static_cast<std::uint32_t>(get(head, 12, 4));
  header.databaseSize = get(head, 16, 8);
  header.recordsLength = static_cast<std::uint32_t>(get(head, 24, 4));
  header.recordsCrc = static_cast<std::uint32_t>(get(head, 28, 4));
  if (header.pageSize == 0 || header.pageSize > 65536) return std::nullopt;
  return header;
}

std::optional<std::vector<FileWrite>> decodeOriginals(const JournalHeader& header,
                                                      std::span<const std::uint8_t> records) {
  if (records.size() != header.recordsLength || crc32(records) != header.recordsCrc) return std::nullopt;
  const auto malformed = [] { return Error(errc::kFailure, "The database's journal is damaged."); };
  std::vector<FileWrite> originals;
  originals.reserve(header.records);
  std::size_t at = 0;
  for (std::uint32_t i = 0; i < header.records; ++i) {
    if (records.size() - at < kRecordHead) throw malformed();
    const std::uint64_t page = get(records, at, 4);
    const std::uint64_t offset = get(records, at + 4, 4);
    const std::uint64_t length = get(records, at + 8, 4);
    at += kRecordHead;
    if (offset + length > header.pageSize || records.size() - at < length) throw malformed();
    originals.push_back({page * header.pageSize + offset, records.subspan(at, length)});
    at += length;
  }
  if (at != records.size()) throw malformed();
  return originals;
}

}  // namespace jet::journal
