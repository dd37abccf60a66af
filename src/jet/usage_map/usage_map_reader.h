// Reading usage maps (usage_map_format.h). Tables find their data pages
// through their owned-pages map.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/file/bytes.h"
#include "jet/file/format.h"
#include "jet/usage_map/usage_map_format.h"

namespace jet {

class Pager;

// The pages whose bits are set in the map stored at `mapRow` (a row
// pointer), in ascending order. Pages past the end of the file raise
// kDamaged.
std::vector<std::uint32_t> readUsageMap(Pager& pager, const Format& format, std::uint32_t mapRow);

// Reads the bytes of the row `pointer` names on a data page.
std::vector<std::uint8_t> readRowBytes(Pager& pager, const Format& format, RowPointer pointer);

}  // namespace jet
