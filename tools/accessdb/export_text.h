// The text form `accessdb export` writes for each value: NULL as \N; text
// with backslash, TAB, CR and LF escaped; Yes/No as 1/0; exact decimals
// without trailing zeros; floating point as the shortest text that reads
// back to the same value; dates as YYYY-MM-DD HH:MM:SS with milliseconds
// only when present; GUIDs in braces; bytes as lower-case hex.
#pragma once

#include <string>

#include "ado/variant.h"

namespace accessdb {

// Appends the export text of `value` to `out`.
void appendExportText(const ado::Variant& value, std::string& out);

}  // namespace accessdb
