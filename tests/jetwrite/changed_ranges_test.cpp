// The ranges a statement journals and writes: exactly the changed bytes,
// with short equal gaps closed.
#include "jet/journal/changed_ranges.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace jet::journal {
namespace {

std::vector<ByteRange> rangesOf(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& now,
                                std::size_t joinedGap) {
  std::vector<ByteRange> out;
  appendChangedRanges(before, now, out, joinedGap);
  return out;
}

TEST(ChangedRanges, FindsEachRunWhereverItLies) {
  const std::vector<std::uint8_t> before(4096, 0x11);
  EXPECT_TRUE(rangesOf(before, before, 0).empty());
  auto now = before;
  now[0] = 1;                                          // the first byte
  for (std::size_t i = 255; i < 258; ++i) now[i] = 2;  // across a stride's edge
  now[1000] = 3;                                       // a lone byte mid-block
  now[4095] = 4;                                       // the last byte
  EXPECT_EQ(rangesOf(before, now, 0), (std::vector<ByteRange>{{0, 1}, {255, 3}, {1000, 1}, {4095, 1}}));
}

TEST(ChangedRanges, ClosesGapsUpToTheLimitOnly) {
  const std::vector<std::uint8_t> before(512, 0);
  auto now = before;
  now[10] = 1;
  now[20] = 1;   // 9 equal bytes after the first change
  now[31] = 1;   // 10 equal bytes after the second
  now[500] = 1;  // far off
  EXPECT_EQ(rangesOf(before, now, 9), (std::vector<ByteRange>{{10, 11}, {31, 1}, {500, 1}}));
  EXPECT_EQ(rangesOf(before, now, 10), (std::vector<ByteRange>{{10, 22}, {500, 1}}));
  EXPECT_EQ(rangesOf(before, now, 512), (std::vector<ByteRange>{{10, 491}}));
}

// Byte by byte, the plain way.
std::vector<ByteRange> differingRuns(const std::vector<std::uint8_t>& before,
                                     const std::vector<std::uint8_t>& now, std::size_t joinedGap) {
  std::vector<ByteRange> runs;
  for (std::uint32_t i = 0; i < now.size(); ++i) {
    if (before[i] == now[i]) continue;
    if (!runs.empty() && i - (runs.back().offset + runs.back().length) <= joinedGap)
      runs.back().length = i + 1 - runs.back().offset;
    else
      runs.push_back({i, 1});
  }
  return runs;
}

TEST(ChangedRanges, AgreeWithAByteByByteScanAtEveryAlignment) {
  std::mt19937 random(42);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::uint8_t> before(4096);
    for (auto& b : before) b = static_cast<std::uint8_t>(random() % 4);
    auto now = before;
    for (int run = 0; run < 6; ++run) {
      const std::size_t at = random() % now.size();
      const std::size_t end = std::min<std::size_t>(now.size(), at + random() % 300);
      // Small values, so that runs hold bytes that happen to stay equal.
      for (std::size_t i = at; i < end; ++i) now[i] = static_cast<std::uint8_t>(random() % 4);
    }
    for (const std::size_t gap : {std::size_t{0}, std::size_t{5}, kJoinedGap})
      EXPECT_EQ(rangesOf(before, now, gap), differingRuns(before, now, gap))
          << "round " << round << " gap " << gap;
  }
}

TEST(ChangedRanges, AWhollyChangedPageIsOneRange) {
  const std::vector<std::uint8_t> before(4096, 0);
  const std::vector<std::uint8_t> now(4096, 9);
  EXPECT_EQ(rangesOf(before, now, kJoinedGap), (std::vector<ByteRange>{{0, 4096}}));
}

}  // namespace
}  // namespace jet::journal
