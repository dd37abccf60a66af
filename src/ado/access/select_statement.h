// The one query the Access providers answer for now:
// SELECT * FROM `<table>` (keywords in any letter case, any whitespace,
// an optional trailing semicolon). Anything else is a syntax error
// (DB_E_ERRORSINCOMMAND) that quotes the part not understood.
#pragma once

#include <string>
#include <string_view>

namespace ado::access {

// The table name between the grave accents, unchanged.
std::string parseSelectAll(std::string_view sql);

}  // namespace ado::access
