// Index keys of text values in the Access "General" sort order. A key is
// the characters' inline collation codes, then an end mark, then what sets
// otherwise equal texts apart: accent and case codes ("extra"), a packed
// run of two-bit "crazy" flags and the codes of unprintable characters,
// each group only when present. Only the first 255 UTF-16 units of a text
// are indexed, as in Access.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "jet/collation/code_table.h"

namespace jet::collation {

// Appends the key of `text` to `key` (without the column's flag byte that
// precedes every value in an index entry). Descending keys are the
// ascending bytes inverted. Throws jet::Error for a surrogate code unit
// (half of a character outside the Basic Multilingual Plane), for which the
// General sort order tables hold no code.
void appendTextKey(std::u16string_view text, const CodeTable& table, bool ascending,
                   std::vector<std::uint8_t>& key);

}  // namespace jet::collation
