// Object properties, the blob in MSysObjects.LvProp: "MR2\0" (Jet4+) or
// "KKD\0" (Jet3), then chunks of [32-bit length][16-bit kind]. Kind 0x80
// lists property names; kinds 0-2 hold one block of properties for the
// object itself (block name "") or for one of its columns (the column's
// name). Each property: [16-bit length][DDL flag][type][16-bit name
// index][16-bit value length][value]. Properties Access adds beyond the
// table definition live here, such as a calculated column's ResultType.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "jet/file/bytes.h"
#include "jet/file/header.h"

namespace jet {

struct Property {
  std::uint8_t type = 0;  // a ColumnType code
  std::vector<std::uint8_t> value;
};

// Block name -> property name -> property.
using PropertyBlocks = std::map<std::string, std::map<std::string, Property>>;

// Parses an LvProp blob; throws kDamaged when its structure is broken.
PropertyBlocks parseProperties(ByteView blob, const Header& header);

}  // namespace jet
