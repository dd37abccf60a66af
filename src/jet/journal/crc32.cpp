#include "jet/journal/crc32.h"

#include <array>
#include <cstring>

#if defined(__x86_64__)
#include <nmmintrin.h>
#endif

namespace jet::journal {
namespace {

// Eight tables, so that eight bytes are folded in per step ("slicing by
// eight"); table 0 is the classic byte-at-a-time table.
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables makeTables(std::uint32_t reflectedPolynomial) {
  Tables t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? reflectedPolynomial ^ (c >> 1) : c >> 1;
    t[0][i] = c;
  }
  for (std::uint32_t i = 0; i < 256; ++i)
    for (std::size_t s = 1; s < 8; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
  return t;
}

constexpr Tables kIeeeTables = makeTables(0xEDB88320u);
constexpr Tables kCastagnoliTables = makeTables(0x82F63B78u);

std::uint32_t sliceBy8(const Tables& tables, std::span<const std::uint8_t> bytes, std::uint32_t crc) {
  crc = ~crc;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    const std::uint32_t low = crc ^ (bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) |
                                     (static_cast<std::uint32_t>(bytes[i + 3]) << 24));
    crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^ tables[5][(low >> 16) & 0xFF] ^
          tables[4][low >> 24] ^ tables[3][bytes[i + 4]] ^ tables[2][bytes[i + 5]] ^ tables[1][bytes[i + 6]] ^
          tables[0][bytes[i + 7]];
  }
  for (; i < bytes.size(); ++i) crc = tables[0][(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

#if defined(__x86_64__)
__attribute__((target("sse4.2"))) std::uint32_t castagnoliByInstruction(std::span<const std::uint8_t> bytes,
                                                                        std::uint32_t crc) {
  std::uint64_t c = ~crc;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + i, 8);
    c = _mm_crc32_u64(c, word);
  }
  auto c32 = static_cast<std::uint32_t>(c);
  for (; i < bytes.size(); ++i) c32 = _mm_crc32_u8(c32, bytes[i]);
  return ~c32;
}
#endif

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
  return sliceBy8(kIeeeTables, bytes, crc);
}

std::uint32_t crc32c(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
#if defined(__x86_64__)
  static const bool hasInstruction = __builtin_cpu_supports("sse4.2");
  if (hasInstruction) return castagnoliByInstruction(bytes, crc);
#endif
  return sliceBy8(kCastagnoliTables, bytes, crc);
}

}  // namespace jet::journal
