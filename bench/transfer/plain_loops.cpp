#include "plain_loops.h"

#include <optional>
#include <vector>

#include "ado/access/field_mapping.h"
#include "ado/connection.h"
#include "common/bare_odbc.h"
#include "jet/database/database.h"

namespace bench {
namespace {

void appendQuoted(std::string& out, const std::string& text) {
  out.push_back('\'');
  for (const char c : text) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  out.push_back('\'');
}

enum class Form { kQuoted, kNumber, kBit };

Form formOf(jet::ColumnType type) {
  switch (type) {
    case jet::ColumnType::Byte:
    case jet::ColumnType::Int16:
    case jet::ColumnType::Int32:
    case jet::ColumnType::BigInt:
    case jet::ColumnType::Currency: return Form::kNumber;
    case jet::ColumnType::Boolean: return Form::kBit;
    default: return Form::kQuoted;
  }
}

const char* typeOf(Form form) {
  return form == Form::kNumber ? " NUMERIC" : form == Form::kBit ? " BIT" : " TEXT";
}

}  // namespace

long long PlainAccessToOdbc(const std::string& accessPath, const std::string& dsn, const std::string& table) {
  const auto database = jet::Database::open(accessPath, "");
  const jet::Table source = database->table(table);
  std::vector<Form> forms;
  std::string create = "CREATE TABLE \"" + table + "\"(";
  for (const jet::ColumnDef& column : source.columns()) {
    forms.push_back(formOf(column.type()));
    create += "\"" + column.name + "\"" + typeOf(forms.back()) + ",";
  }
  create.back() = ')';
  BareOdbc odbc(dsn);
  odbc.execute(create);

  const std::string opening = "INSERT INTO \"" + table + "\" VALUES(";
  jet::RowCursor rows = source.rows();
  std::vector<jet::Value> values;
  std::string statement;
  long long count = 0;
  while (rows.next(values)) {
    statement = opening;
    for (std::size_t j = 0; j < values.size(); ++j) {
      if (j > 0) statement += ", ";
      const ado::Variant value = ado::access::toVariant(std::move(values[j]));
      const std::string text = value.textForm();
      if (text.empty())
        statement += "NULL";
      else if (forms[j] == Form::kNumber)
        statement += text;
      else if (forms[j] == Form::kBit)
        statement += value.as<bool>() ? "'1'" : "'0'";
      else
        appendQuoted(statement, text);
    }
    statement += ')';
    odbc.execute(statement);
    ++count;
  }
  return count;
}

long long PlainOdbcToAccess(const std::string& dsn, const std::string& table, const std::string& accessPath,
                            const std::string& createStatement) {
  ado::Connection access;
  access.open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + accessPath);
  access.execute(createStatement);

  BareOdbc odbc(dsn);
  const std::vector<SQLSMALLINT> types = odbc.query("SELECT * FROM \"" + table + "\"");
  std::vector<std::optional<std::string>> row(types.size());
  const std::string opening = "INSERT INTO `" + table + "` VALUES(";
  std::string statement;
  long long count = 0;
  while (odbc.fetch(row)) {
    statement = opening;
    for (std::size_t j = 0; j < row.size(); ++j) {
      if (j > 0) statement += ", ";
      if (!row[j] || row[j]->empty())
        statement += "NULL";
      else if (types[j] == SQL_BIT)
        statement += *row[j] == "1" ? "'True'" : "'False'";
      else
        appendQuoted(statement, *row[j]);
    }
    statement += ')';
    access.execute(statement);
    ++count;
  }
  return count;
}

}  // namespace bench
