#include "jet/journal/crc32.h"

namespace jet::journal {
namespace {

// Eight tables, so that eight bytes are folded in per step ("slicing by
// eight"); table 0 is the classic byte-at-a-time table.
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables makeTables() {
  Tables t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[0][i] = c;
  }
  for (std::uint32_t i = 0; i < 256; ++i)
    for (std::size_t s = 1; s < 8; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
  return t;
}

constexpr Tables kTables = makeTables();

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
  crc = ~crc;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    const std::uint32_t low = crc ^ (bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) |
                                     (static_cast<std::uint32_t>(bytes[i + 3]) << 24));
    crc = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^ kTables[5][(low >> 16) & 0xFF] ^
          kTables[4][low >> 24] ^ kTables[3][bytes[i + 4]] ^ kTables[2][bytes[i + 5]] ^
          kTables[1][bytes[i + 6]] ^ kTables[0][bytes[i + 7]];
  }
  for (; i < bytes.size(); ++i) crc = kTables[0][(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

}  // namespace jet::journal
