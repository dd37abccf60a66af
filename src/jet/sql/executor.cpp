#include "jet/sql/executor.h"

#include <type_traits>

#include "jet/error.h"

namespace jet::sql {

NewColumn toNewColumn(const ColumnDefinition& column) {
  // ColumnKind carries each type's stored type code.
  const ColumnType& t = column.type;
  return {column.name, static_cast<jet::ColumnType>(t.kind), t.size, t.precision, t.scale, t.autoNumber};
}

void execute(write::DatabaseWriter& writer, const Statement& statement) {
  std::visit(
      [&writer](const auto& s) {
        using T = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<T, InsertValues>) {
          writer.insert(s.table, s.values);
        } else if constexpr (std::is_same_v<T, CreateTable>) {
          std::vector<NewColumn> columns;
          for (const ColumnDefinition& c : s.columns) columns.push_back(toNewColumn(c));
          writer.createTable(s.table, columns);
        } else if constexpr (std::is_same_v<T, DropTable>) {
          writer.dropTable(s.table);
        } else if constexpr (std::is_same_v<T, SelectInto>) {
          writer.selectInto(s.target, s.source);
        } else {
          throw Error(errc::kFailure, "A SELECT query returns rows; it is opened, not executed.");
        }
      },
      statement);
}

}  // namespace jet::sql
