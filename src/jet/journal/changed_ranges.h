// Which bytes of a page a statement changed. Journaling and writing only
// those, instead of whole pages, is most of what makes a one-row statement
// cheap: an INSERT touches a few dozen bytes of a data page's header and
// the row itself, and a counter or two on the table's definition page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace jet::journal {

struct ByteRange {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

// Runs of equal bytes at most this long inside a change are taken along:
// one more write call costs the kernel more than copying them.
inline constexpr std::size_t kJoinedGap = 64;

// Appends to `out`, in order, the ranges where `now` differs from
// `original` (both the same size), with gaps of up to `joinedGap` equal
// bytes closed. Bytes outside the ranges are equal in both.
void appendChangedRanges(std::span<const std::uint8_t> original, std::span<const std::uint8_t> now,
                         std::vector<ByteRange>& out, std::size_t joinedGap = kJoinedGap);

}  // namespace jet::journal
