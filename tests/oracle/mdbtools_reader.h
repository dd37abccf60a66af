// Reads an Access file through the mdbtools command-line programs and
// brings their output into accessdb's export format as far as their
// information goes: mdb-export is told to write tab-separated, unquoted,
// C-escaped text with "\N" for NULL, ISO dates and hex binaries; what
// options cannot reach (trailing zeros of Currency and Decimal, the case
// of hex digits) is rewritten here from the column types mdb-schema names.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "access_reader.h"

namespace oracle {

struct SchemaColumn {
  std::string name;
  std::string typeName;  // as mdb-schema writes it, e.g. "Text (50)"
};
using MdbSchema = std::map<std::string, std::vector<SchemaColumn>>;

class MdbToolsReader : public AccessReader {
 public:
  explicit MdbToolsReader(std::filesystem::path file);

  TableListing tables() override;
  Reading<Column> columns(const std::string& table) override;
  Reading<Row> rows(const std::string& table) override;

 private:
  // mdb-schema is run once per file; every table's columns come from it.
  const MdbSchema& schema();

  std::filesystem::path file_;
  std::optional<MdbSchema> schema_;
  std::optional<std::string> schemaFailure_;
};

// The ADO type an mdb-schema type name ("Long Integer", "Numeric (18, 6)")
// stands for; empty for the "Unknown_00xx" names of types mdbtools lacks.
std::optional<int> adoTypeOfMdbSchemaType(std::string_view typeName);

// Parses mdb-schema's "access" output into table -> columns.
MdbSchema parseMdbSchema(const std::string& text);

// "3.5000" -> "3.5", "-0.000" -> "0", "12.00" -> "12".
std::string trimDecimal(std::string_view text);

}  // namespace oracle
