#include "jet/journal/journal_format.h"

#include <algorithm>
#include <array>

#include "jet/error.h"
#include "jet/journal/crc32.h"

namespace jet::journal {
namespace {

constexpr std::array<std::uint8_t, kJournalMagicSize> kMagic = {'F', 'V', 'J', 'R', 'N', 'L', '0', '3'};
constexpr std::array<std::uint8_t, kJournalMagicSize> kEarlierMagic = {'F', 'V', 'J', 'R',
                                                                       'N', 'L', '0', '2'};
constexpr std::size_t kEarlierHeaderSize = 36;
constexpr std::size_t kRecordHead = 12;

void put(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint64_t get(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

// The CRC of the layout whose header is `headerSize` bytes long.
std::uint32_t checksum(std::size_t headerSize, std::span<const std::uint8_t> bytes) {
  return headerSize == kEarlierHeaderSize ? crc32(bytes) : crc32c(bytes);
}

// Appends one record: the range's place and its original bytes.
void appendRecord(std::vector<std::uint8_t>& image, std::uint32_t page, const ByteRange& range,
                  std::span<const std::uint8_t> before) {
  const std::size_t at = image.size();
  image.resize(at + kRecordHead + range.length);
  put(image, at, page, 4);
  put(image, at + 4, range.offset, 4);
  put(image, at + 8, range.length, 4);
  std::copy_n(before.begin() + range.offset, range.length,
              image.begin() + static_cast<std::ptrdiff_t>(at + kRecordHead));
}

}  // namespace

StatementJournal encodeJournal(std::size_t pageSize, std::uint64_t databaseSize, const PageImages& pages,
                               const PageReader& original) {
  StatementJournal journal;
  encodeJournal(pageSize, databaseSize, pages, original, journal, false);
  return journal;
}

void encodeJournal(std::size_t pageSize, std::uint64_t databaseSize, const PageImages& pages,
                   const PageReader& original, StatementJournal& journal, bool withNewBytes,
                   const RangeFinder& changedRanges) {
  journal.image.assign(kJournalHeaderSize, 0);
  journal.writes.clear();
  journal.newBytes.clear();
  std::vector<ByteRange>& ranges = journal.ranges;
  std::uint32_t records = 0;
  // The page written last, while the next page may extend its write.
  std::optional<std::uint32_t> previousNumber;
  std::span<const std::uint8_t> previousImage;
  for (const auto& [number, bytes] : pages) {
    const std::uint64_t pageAt = static_cast<std::uint64_t>(number) * pageSize;
    std::size_t first = 0;
    std::size_t end = pageSize;
    if (pageAt + pageSize > databaseSize) {  // appended: cut off on rollback
      withNewBytes = false;
    } else {
      const auto before = original(number);
      ranges.clear();
      if (changedRanges)
        changedRanges(number, before, bytes, ranges);
      else
        appendChangedRanges(before, bytes, ranges);
      for (const ByteRange& range : ranges) {
        appendRecord(journal.image, number, range, before);
        const auto now = std::span(bytes).subspan(range.offset, range.length);
        journal.newBytes.insert(journal.newBytes.end(), now.begin(), now.end());
      }
      records += static_cast<std::uint32_t>(ranges.size());
      if (ranges.empty()) {
        previousNumber.reset();
        continue;
      }
      // The database gets one write per page, from the first changed byte
      // to the last: a write call costs the kernel more than copying the
      // equal bytes between the ranges, which need no journaling for that
      // reason.
      first = ranges.front().offset;
      end = ranges.back().offset + ranges.back().length;
    }
    // For the same reason the writes of two neighbouring pages join over
    // the equal bytes at their boundary when there are few: a row and its
    // long value often land on a new page each, one after the other.
    if (previousNumber && *previousNumber + 1 == number) {
      FileWrite& previous = journal.writes.back();
      const std::size_t previousFirst = previous.at - (pageAt - pageSize);
      const std::size_t previousEnd = previousFirst + previous.bytes.size();
      if (pageSize - previousEnd + first <= kJoinedBoundary) {
        previous.bytes = previousImage.subspan(previousFirst);
        first = 0;
      }
    }
    journal.writes.push_back({pageAt + first, std::span(bytes).subspan(first, end - first)});
    previousNumber = number;
    previousImage = bytes;
  }
  journal.endsWhenWritten = withNewBytes && records > 0;
  auto& image = journal.image;
  std::copy(kMagic.begin(), kMagic.end(), image.begin());
  put(image, 8, pageSize, 4);
  put(image, 12, records, 4);
  put(image, 16, databaseSize, 8);
  put(image, 24, image.size() - kJournalHeaderSize, 4);
  put(image, 28, crc32c(std::span(image).subspan(kJournalHeaderSize)), 4);
  if (journal.endsWhenWritten) {
    put(image, 32, journal.newBytes.size(), 4);
    image.insert(image.end(), journal.newBytes.begin(), journal.newBytes.end());
  }
  put(image, kJournalHeaderSize - 4, crc32c(std::span(image).first(kJournalHeaderSize - 4)), 4);
}

std::size_t headerSizeOf(std::span<const std::uint8_t> head) {
  if (head.size() < kJournalMagicSize) return 0;
  if (std::equal(kMagic.begin(), kMagic.end(), head.begin())) return kJournalHeaderSize;
  if (std::equal(kEarlierMagic.begin(), kEarlierMagic.end(), head.begin())) return kEarlierHeaderSize;
  return 0;
}

std::optional<JournalHeader> decodeHeader(std::span<const std::uint8_t> head) {
  const std::size_t size = headerSizeOf(head);
  if (size == 0 || head.size() < size) return std::nullopt;
  const std::size_t crcAt = size - 4;
  if (checksum(size, head.first(crcAt)) != get(head, crcAt, 4)) return std::nullopt;
  JournalHeader header;
  header.pageSize = static_cast<std::uint32_t>(get(head, 8, 4));
  header.records = static_cast<std::uint32_t>(get(head, 12, 4));
  header.databaseSize = get(head, 16, 8);
  header.recordsLength = static_cast<std::uint32_t>(get(head, 24, 4));
  header.recordsCrc = static_cast<std::uint32_t>(get(head, 28, 4));
  if (size == kJournalHeaderSize) header.newBytesLength = static_cast<std::uint32_t>(get(head, 32, 4));
  header.size = size;
  if (header.pageSize == 0 || header.pageSize > 65536) return std::nullopt;
  return header;
}

std::optional<std::vector<FileWrite>> decodeOriginals(const JournalHeader& header,
                                                      std::span<const std::uint8_t> records) {
  if (records.size() != header.recordsLength || checksum(header.size, records) != header.recordsCrc)
    return std::nullopt;
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

bool newBytesInPlace(const std::vector<FileWrite>& originals, std::span<const std::uint8_t> newBytes,
                     const std::function<bool(std::uint64_t at, std::span<std::uint8_t> out)>& readDatabase) {
  if (originals.empty()) return false;
  std::vector<std::uint8_t> current;
  std::size_t at = 0;
  for (const FileWrite& original : originals) {
    if (newBytes.size() - at < original.bytes.size()) return false;
    current.resize(original.bytes.size());
    if (!readDatabase(original.at, current)) return false;
    if (!std::equal(current.begin(), current.end(), newBytes.begin() + static_cast<std::ptrdiff_t>(at)))
      return false;
    at += original.bytes.size();
  }
  return at == newBytes.size();
}

}  // namespace jet::journal
