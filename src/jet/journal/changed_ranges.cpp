#include "jet/journal/changed_ranges.h"

#include <bit>
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

  // Where the change that starts at `from` (a differing byte) ends: one
  // past its last differing byte before a run of more than `joinedGap`
  // equal bytes, or the page's end. A changed row is a few hundred bytes
  // with equal bytes scattered through it; they are passed over a word at
  // a time, and in a word that differs only its differing bytes are
  // looked at, found from the word's bits rather than byte by byte.
  std::size_t changeEnd(std::size_t from, std::size_t joinedGap) const {
    std::size_t lastDifference = from;
    std::size_t i = from + 1;
    while (i < size() && i - 1 - lastDifference <= joinedGap) {
      if (i + 8 > size()) {
        if (a_[i] != b_[i]) lastDifference = i;
        ++i;
        continue;
      }
      for (std::uint64_t differing = wordAt(a_, i) ^ wordAt(b_, i); differing != 0;) {
        const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(differing)) / 8;
        if (at - 1 - lastDifference > joinedGap) return lastDifference + 1;
        // Equal bytes between two differing ones of a word are fewer than
        // seven: with such a gap allowed, the word's last differing byte
        // ends the run so far.
        if (joinedGap >= 6) {
          lastDifference = i + static_cast<std::size_t>(63 - std::countl_zero(differing)) / 8;
          break;
        }
        lastDifference = at;
        differing &= ~(std::uint64_t{0xFF} << (8 * (at - i)));
      }
      i += 8;
    }
    return lastDifference + 1;
  }

 private:
  static std::uint64_t wordAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, 8);
    // Byte k of the page in bits 8k to 8k+7, as changeEnd() counts them.
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
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
  for (std::size_t start = bytes.nextDifference(0); start < bytes.size();) {
    const std::size_t end = bytes.changeEnd(start, joinedGap);
    out.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)});
    start = bytes.nextDifference(end);
  }
}

}  // namespace jet::journal
