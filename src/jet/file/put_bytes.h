// Little-endian stores into page and row buffers, the counterparts of the
// reads in jet/bytes.h. Callers size their buffers first; the stores check
// nothing.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace jet::write {

inline void put16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put24(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 3; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void put32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void put64(std::span<std::uint8_t> b, std::size_t at, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void putDouble(std::span<std::uint8_t> b, std::size_t at, double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  put64(b, at, bits);
}

// Appending forms, for buffers that grow.
inline void append16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A row's address as stored: page number above, row number in the low byte.
inline std::uint32_t rowPointer(std::uint32_t page, std::uint8_t row) {
  return (page << 8) | row;
}

}  // namespace jet::write
