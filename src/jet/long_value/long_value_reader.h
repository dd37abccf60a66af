// Reading long values (long_value_format.h): inline, single-row and chained.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/file/bytes.h"
#include "jet/file/format.h"
#include "jet/long_value/long_value_format.h"

namespace jet {

class Pager;

// Replaces `out` with the value `reference` (the in-row bytes) stands for.
void readLongValue(Pager& pager, const Format& format, ByteView reference, std::vector<std::uint8_t>& out);

}  // namespace jet
