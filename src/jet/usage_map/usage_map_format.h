// The layout of usage maps, shared by their reader and writer. A usage map
// is a bitmap of pages, one bit per page, least significant bit first. An
// inline map (type 0) holds a start page and the bitmap in its own row; a
// reference map (type 1) lists pages of type 0x05 that each hold, after a
// 4-byte header, a bitmap for (page size - 4) * 8 consecutive pages. The
// database's global map, in which a set bit means "free", is row 0 of
// page 1.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jet/file/format.h"

namespace jet {

enum class UsageMapType : std::uint8_t { Inline = 0, Reference = 1 };

inline constexpr std::size_t kInlineMapHeader = 5;        // type and start page
inline constexpr std::size_t kInlineMapBitmapBytes = 64;  // in the maps Jet makes: 512 pages
inline constexpr std::size_t kBitmapPageHeader = 4;
inline constexpr std::uint32_t kGlobalMapPage = 1;

inline std::uint32_t pagesPerBitmapPage(const Format& format) {
  return static_cast<std::uint32_t>((format.pageSize - kBitmapPageHeader) * 8);
}

}  // namespace jet
