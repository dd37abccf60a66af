// Little-endian reads from a byte span, each checked against the span's
// end. Every structure in an Access file is little-endian; reading through
// these helpers is what keeps damaged files from reading out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "jet/error.h"

namespace jet {

using ByteView = std::span<const std::uint8_t>;

inline void requireRange(ByteView bytes, std::size_t offset, std::size_t length, const char* what) {
  if (offset > bytes.size() || length > bytes.size() - offset)
    throw damaged(std::string(what) + " lies outside its page");
}

inline std::uint8_t u8(ByteView b, std::size_t off) {
  requireRange(b, off, 1, "a field");
  return b[off];
}
inline std::uint16_t u16(ByteView b, std::size_t off) {
  requireRange(b, off, 2, "a field");
  return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}
inline std::uint32_t u24(ByteView b, std::size_t off) {
  requireRange(b, off, 3, "a field");
  return b[off] | (b[off + 1] << 8) | (static_cast<std::uint32_t>(b[off + 2]) << 16);
}
inline std::uint32_t u32(ByteView b, std::size_t off) {
  requireRange(b, off, 4, "a field");
  return b[off] | (b[off + 1] << 8) | (static_cast<std::uint32_t>(b[off + 2]) << 16) |
         (static_cast<std::uint32_t>(b[off + 3]) << 24);
}
inline std::uint64_t u64(ByteView b, std::size_t off) {
  return u32(b, off) | (static_cast<std::uint64_t>(u32(b, off + 4)) << 32);
}
inline double f64(ByteView b, std::size_t off) {
  const std::uint64_t bits = u64(b, off);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}
inline float f32(ByteView b, std::size_t off) {
  const std::uint32_t bits = u32(b, off);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}
inline ByteView slice(ByteView b, std::size_t off, std::size_t length, const char* what) {
  requireRange(b, off, length, what);
  return b.subspan(off, length);
}

// A row's or long value's address: row number in the low byte, page above.
struct RowPointer {
  std::uint32_t page = 0;
  std::uint8_t row = 0;
  static RowPointer decode(std::uint32_t raw) { return {raw >> 8, static_cast<std::uint8_t>(raw & 0xFF)}; }
};

}  // namespace jet
