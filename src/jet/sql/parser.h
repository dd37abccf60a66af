// Parses the Access SQL statements the program sends: SELECT * FROM,
// SELECT ... INTO, CREATE TABLE, INSERT INTO ... VALUES and DROP TABLE, each
// optionally closed by ';'. A statement outside these forms raises a
// jet::Error with Jet's text for the statement kind, followed by what was
// not understood and where.
#pragma once

#include <string_view>

#include "jet/sql/statement.h"

namespace jet::sql {

Statement parse(std::string_view sql);

}  // namespace jet::sql
