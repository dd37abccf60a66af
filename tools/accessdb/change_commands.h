// The commands of accessdb that change files: `create` writes a new, empty
// database and `sql` runs statements on an existing one. Both go straight
// to the engine's writer, one statement at a time, so that each statement
// is kept or lost whole and the first failure ends the run with the
// statements before it kept.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jet/database/new_database.h"

namespace accessdb {

// "jet4", "ace12", "ace14" or "ace16"; nothing for any other name.
std::optional<jet::write::NewFormat> newFormatNamed(std::string_view name);

// Runs `statements` in order; throws the first statement's jet::Error.
void runStatements(const std::string& path, const std::string& password,
                   const std::vector<std::string>& statements);

// Runs one statement per line of `lines`, skipping blank lines.
void runStatementLines(const std::string& path, const std::string& password, std::istream& lines);

}  // namespace accessdb
