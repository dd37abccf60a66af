#include "jet/journal/changed_ranges.h"

#include <cstring>

namespace jet::journal {
namespace {

constexpr std::size_t kStride = 1024;
constexpr std::size_t kBlock = 32;

class Comparison {
 public:
  Comparison(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) : a_(a), b_(b) {}

  std::size_t size() const { return a_.size(); }

  // The first differing byte at or after `from`, or size(). Most of a page
  // is unchanged, so equal stretches are skipped a stride at a time by the
  // C library's vectorised memcmp, then narrowed down block by block.
  std::size_t nextDifference(std::size_t from) const {
    std::size_t i = from;
    while (i + kStride <= size() && std::memcmp(a_.data() + i, b_.data() + i, kStride) == 0) i += kStride;
    while (i + kBlock <= size() && blockEqual(i)) i += kBlock;
    while (i + 8 <= size() && wordAt(a_, i) == wordAt(b_, i)) i += 8;
    while (i < size() && a_[i] == b_[i]) ++i;
    return i;
  }

  // The first equal byte at or after `from`, or size(). A changed row is a
  // few hundred bytes, passed over eight at a time while no byte of the
  // eight is equal.
  std::size_t nextEqual(std::size_t from) const {
    std::size_t i = from;
    while (i + 8 <= size() && !hasZeroByte(wordAt(a_, i) ^ wordAt(b_, i))) i += 8;
    while (i < size() && a_[i] != b_[i]) ++i;
    return i;
  }

 private:
  static std::uint64_t wordAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, 8);
    return word;
  }

  static bool hasZeroByte(std::uint64_t v) {
    return ((v - 0x0101010101010101u) & ~v & 0x8080808080808080u) != 0;
  }

  bool blockEqual(std::size_t at) const {
    std::uint64_t differences = 0;
    for (std::size_t w = 0; w < kBlock; w += 8) differences |= wordAt(a_, at + w) ^ wordAt(b_, at + w);
    return differences == 0;
  }

  std::span<const std::uint8_t> a_;
  std::span<const std::uint8_t> b_;
};

}  // namespace

void appendChangedRanges(std::span<const std::uint8_t> original, std::span<const std::uint8_t> now,
                         std::vector<ByteRange>& out, std::size_t joinedGap) {
  const Comparison bytes(original, now);
  std::size_t start = bytes.nextDifference(0);
  while (start < bytes.size()) {
    std::size_t end = bytes.nextEqual(start);
    std::size_t next = bytes.nextDifference(end);
    while (next < bytes.size() && next - end <= joinedGap) {
      end = bytes.nextEqual(next);
      next = bytes.nextDifference(end);
    }
    out.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)});
    start = next;
  }
}

}  // namespace jet::journal
