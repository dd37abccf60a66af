// Raw pages of the Access files among the test fixtures, for tests that
// check what the engine writes against what Access wrote.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace jetwrite_test {

inline std::string fixturePath(const std::string& relative) {
  return std::string(FERROVALE_FIXTURES) + "/" + relative;
}

inline std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
inline std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// The entries of every index leaf page (Jet4 layout) that belongs to the
// table whose definition starts on `tdefPage`, with any prefix shared
// between a page's entries put back in front.
inline std::vector<std::vector<std::uint8_t>> leafEntries(const std::vector<std::uint8_t>& file,
                                                          std::uint32_t tdefPage) {
  constexpr std::size_t kPage = 4096, kMask = 0x1B, kFirstEntry = 0x1E0;
  std::vector<std::vector<std::uint8_t>> entries;
  for (std::size_t p = 0; p + kPage <= file.size(); p += kPage) {
    const std::span<const std::uint8_t> page(file.data() + p, kPage);
    if (page[0] != 0x04 || le32(page, 4) != tdefPage) continue;
    const std::size_t prefix = le16(page, 24);
    std::size_t start = 0;
    std::vector<std::uint8_t> first;
    for (std::size_t bit = 0; bit < (kFirstEntry - kMask) * 8; ++bit) {
      if (!((page[kMask + bit / 8] >> (bit % 8)) & 1)) continue;
      std::vector<std::uint8_t> e(page.begin() + kFirstEntry + start, page.begin() + kFirstEntry + bit);
      if (first.empty())
        first = e;
      else
        e.insert(e.begin(), first.begin(), first.begin() + prefix);
      entries.push_back(std::move(e));
      start = bit;
    }
  }
  return entries;
}

}  // namespace jetwrite_test
