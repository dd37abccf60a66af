#include "jet/collation/code_table.h"

#include <algorithm>

#include "jet/error.h"

namespace jet::collation {
namespace {

constexpr std::size_t kBlockSize = 8;
constexpr unsigned char kTagIgnored = 0x00;
constexpr unsigned char kTagSurrogate = 0x01;
constexpr unsigned char kTagNext = 0x10;
constexpr unsigned char kTagFull = 0x80;
constexpr std::uint8_t kLowestCodeByte = 2;  // 0 and 1 end the parts of a key

// The generated tables are part of the program; a record that does not
// decode is a build fault, reported rather than turned into a wrong key.
Error tableFault() {
  return Error(errc::kFailure, "The collation code table is inconsistent.");
}

// The next code of the same width with no byte below 2, as the tables'
// consecutive runs count.
void advance(CharCodes& c) {
  const auto code = c.bytes.begin();
  do {
    int i = c.firstLength - 1;
    while (i >= 0 && c.bytes[i] == 0xFF) c.bytes[i--] = 0;
    if (i < 0) throw tableFault();
    ++c.bytes[i];
  } while (*std::min_element(code, code + c.firstLength) < kLowestCodeByte);
}

class RecordReader {
 public:
  RecordReader(std::span<const unsigned char> records, std::size_t offset) : records_(records), at_(offset) {}

  // Decodes the next record into `c`, which holds the previous one.
  void read(CharCodes& c) {
    const unsigned char tag = take();
    if (tag == kTagIgnored || tag == kTagSurrogate) {
      c = CharCodes{};
      c.kind = tag == kTagIgnored ? CodeKind::Ignored : CodeKind::Surrogate;
    } else if ((tag & 0xF0) == kTagNext) {
      if (c.kind != CodeKind::Simple) throw tableFault();
      for (int skipped = 0; skipped <= (tag & 0x0F); ++skipped) advance(c);
    } else if ((tag & 0xE0) == kTagFull) {
      readFull(tag, c);
    } else {
      throw tableFault();
    }
  }

 private:
  void readFull(unsigned char tag, CharCodes& c) {
    c = CharCodes{};
    c.kind = static_cast<CodeKind>(tag & 0x07);
    c.crazyFlag = static_cast<std::uint8_t>((tag >> 3) & 0x03);
    const unsigned char lengths = take();
    c.firstLength = lengths >> 4;
    c.secondLength = lengths & 0x0F;
    const std::size_t total = std::size_t{c.firstLength} + c.secondLength;
    if (c.kind > CodeKind::InternationalExt || c.firstLength == 0 || total > CharCodes::kMaxBytes) {
      throw tableFault();
    }
    for (std::size_t i = 0; i < total; ++i) c.bytes[i] = take();
  }

  unsigned char take() {
    if (at_ >= records_.size()) throw tableFault();
    return records_[at_++];
  }

  std::span<const unsigned char> records_;
  std::size_t at_;
};

}  // namespace

CharCodes CodeTable::lookup(char16_t unit) const {
  const std::size_t block = unit / kBlockSize;
  if (block >= blockStarts_.size()) throw tableFault();
  RecordReader reader(records_, blockStarts_[block]);
  CharCodes c;
  for (std::size_t i = block * kBlockSize; i <= unit; ++i) reader.read(c);
  return c;
}

}  // namespace jet::collation
