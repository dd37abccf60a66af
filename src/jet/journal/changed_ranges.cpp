#include "jet/journal/changed_ranges.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jet::journal {
namespace {

constexpr std::size_t kStride = 1024;
constexpr std::size_t kChunk = 16;

class Comparison {
 public:
  Comparison(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) : a_(a), b_(b) {}

  std::size_t size() const { return a_.size(); }

  // The first differing byte at or after `from`, or size(). Most of a page
  // is unchanged, so equal stretches are skipped a stride at a time by the
  // C library's vectorised memcmp, the stride halved down to a few chunks
  // once it meets a difference, then narrowed down a chunk at a time.
  std::size_t nextDifference(std::size_t from) const {
    std::size_t i = from;
    for (std::size_t stride = kStride; stride >= 4 * kChunk; stride /= 2)
      while (i + stride <= size() && std::memcmp(a_.data() + i, b_.data() + i, stride) == 0) i += stride;
    for (; i + kChunk <= size(); i += kChunk)
      if (const std::uint32_t differing = differingBytes(i); differing != 0)
        return i + static_cast<std::size_t>(std::countr_zero(differing));
    while (i < size() && a_[i] == b_[i]) ++i;
    return i;
  }

  // Where the change that starts at `from` (a differing byte) ends: one
  // past its last differing byte before a run of more than `joinedGap`
  // equal bytes, or the page's end. A changed row is a few hundred bytes
  // with equal bytes scattered through it; they are passed over a chunk at
  // a time, the differing bytes of a chunk found from its mask.
  std::size_t changeEnd(std::size_t from, std::size_t joinedGap) const {
    std::size_t last = from;
    std::size_t i = from + 1;
    while (i < size() && i - 1 - last <= joinedGap) {
      if (i + kChunk > size()) {
        if (a_[i] != b_[i]) last = i;
        ++i;
        continue;
      }
      std::uint32_t differing = differingBytes(i);
      if (differing != 0) {
        const std::size_t first = i + static_cast<std::size_t>(std::countr_zero(differing));
        if (first - 1 - last > joinedGap) return last + 1;
        if (joinedGap + 1 >= kChunk) {
          // Equal bytes between two differing ones of a chunk are fewer
          // than the gap allowed: the chunk's last differing byte ends the
          // run so far.
          last = i + static_cast<std::size_t>(31 - std::countl_zero(differing));
        } else {
          for (; differing != 0; differing &= differing - 1) {
            const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(differing));
            if (at - 1 - last > joinedGap) return last + 1;
            last = at;
          }
        }
      }
      i += kChunk;
    }
    return last + 1;
  }

 private:
  // Bit k set where byte `at + k` differs, for the kChunk bytes from `at`.
  std::uint32_t differingBytes(std::size_t at) const {
#if defined(__SSE2__)
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a_.data() + at));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b_.data() + at));
    return ~static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y))) & 0xFFFFu;
#else
    std::uint32_t differing = 0;
    for (std::size_t k = 0; k < kChunk; ++k)
      if (a_[at + k] != b_[at + k]) differing |= 1u << k;
    return differing;
#endif
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
