// Usage maps: bitmaps of pages, one bit per page, least significant bit
// first. An inline map (type 0) holds a start page and the bitmap in its
// own row; a reference map (type 1) lists pages of type 0x05 that each hold
// a bitmap for (page size - 4) * 8 consecutive pages. Tables find their
// data pages through their owned-pages map.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/bytes.h"
#include "jet/format.h"

namespace jet {

class Pager;

enum class UsageMapType : std::uint8_t { Inline = 0, Reference = 1 };

// The pages whose bits are set in the map stored at `mapRow` (a row
// pointer), in ascending order. Pages past the end of the file raise
// kDamaged.
std::vector<std::uint32_t> readUsageMap(Pager& pager, const Format& format, std::uint32_t mapRow);

// Reads the bytes of the row `pointer` names on a data page.
std::vector<std::uint8_t> readRowBytes(Pager& pager, const Format& format, RowPointer pointer);

}  // namespace jet
