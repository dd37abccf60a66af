// The layout of long values (Memo and OLE Object), shared by their reader
// and writer. The row holds a 12-byte reference:
// a 32-bit length whose top bits say where the data is (0x80: right after
// the reference, 0x40: in one row of a long-value page, 0: in a chain of
// such rows, each starting with a pointer to the next), then a row pointer
// and four unused bytes. Long-value rows live on data pages whose owner is
// "LVAL" (page/data_page_format.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace jet {

inline constexpr std::size_t kLongValueHeader = 12;

namespace long_value_flags {
inline constexpr std::uint32_t kInline = 0x80000000;
inline constexpr std::uint32_t kSingleRow = 0x40000000;
inline constexpr std::uint32_t kLengthMask = 0x3FFFFFFF;
}  // namespace long_value_flags

}  // namespace jet
