// Carries out a parsed statement that changes the database: the SQL
// layer's column types become the engine's NewColumn records, and each
// statement becomes one change of the writer. A plain SELECT changes
// nothing and is refused here; it is opened as a recordset instead.
#pragma once

#include "jet/database/database_writer.h"
#include "jet/sql/statement.h"

namespace jet::sql {

NewColumn toNewColumn(const ColumnDefinition& column);

void execute(write::DatabaseWriter& writer, const Statement& statement);

}  // namespace jet::sql
