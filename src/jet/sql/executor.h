// Carries out a parsed statement that changes the database: the SQL
// layer's column types become the engine's column specs, and each
// statement becomes one change of the writer. A plain SELECT changes
// nothing and is refused here; it is opened as a recordset instead.
#pragma once

#include "jet/database/database_writer.h"
#include "jet/sql/statement.h"

namespace jet::sql {

ColumnSpec toColumnSpec(const ColumnDefinition& column);

void execute(write::DatabaseWriter& writer, const Statement& statement);

}  // namespace jet::sql
