#include "mdbtools_reader.h"

#include <algorithm>
#include <cctype>

#include "ado/data_type.h"
#include "line_tool_reader.h"
#include "process.h"

namespace oracle {
namespace {

const std::vector<std::string> kExportOptions = {
    "-H",         // no header line
    "-Q",         // no quotes around text
    "-e",         // backslash, TAB, CR, LF as \\ \t \r \n
    "-d", "\\t",  // TAB between fields
    "-0", "\\N",  // NULL
    "-T", "%Y-%m-%d %H:%M:%S",
    "-b", "hex",
};

std::set<std::string> nameSet(const ProcessResult& result) {
  const std::vector<std::string> lines = splitLines(result.out);
  return {lines.begin(), lines.end()};
}

std::string lowerCase(std::string text) {
  std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

std::string trimDecimal(std::string_view text) {
  std::string result(text);
  if (result.find('.') != std::string::npos) {
    result.erase(result.find_last_not_of('0') + 1);
    if (result.back() == '.') result.pop_back();
  }
  if (result == "-0") result = "0";
  return result;
}

std::optional<int> adoTypeOfMdbSchemaType(std::string_view typeName) {
  const std::string_view base = typeName.substr(0, typeName.find(" ("));
  static const std::map<std::string_view, int> types = {
      {"Boolean", ado::adBoolean},     {"Byte", ado::adUnsignedTinyInt},
      {"Integer", ado::adSmallInt},    {"Long Integer", ado::adInteger},
      {"Currency", ado::adCurrency},   {"Single", ado::adSingle},
      {"Double", ado::adDouble},       {"DateTime", ado::adDate},
      {"Text", ado::adVarWChar},       {"Memo/Hyperlink", ado::adLongVarWChar},
      {"OLE", ado::adLongVarBinary},   {"Binary", ado::adVarBinary},
      {"Replication ID", ado::adGUID}, {"Numeric", ado::adNumeric},
  };
  const auto found = types.find(base);
  if (found == types.end()) return std::nullopt;
  return found->second;
}

MdbSchema parseMdbSchema(const std::string& text) {
  MdbSchema tables;
  std::vector<SchemaColumn>* current = nullptr;
  constexpr std::string_view kCreate = "CREATE TABLE [";
  for (const std::string& line : splitLines(text)) {
    if (line.starts_with(kCreate) && line.ends_with("]")) {
      const std::string name = line.substr(kCreate.size(), line.size() - kCreate.size() - 1);
      current = &tables[name];
    } else if (current && line.starts_with("\t[")) {
      // "\t[name]\t\t\tType (size) NOT NULL, " - a name may hold ']' itself,
      // so it ends at the last "]\t".
      const std::size_t close = line.rfind("]\t");
      if (close == std::string::npos) continue;
      std::string type = line.substr(line.find_first_not_of('\t', close + 1));
      while (!type.empty() && (type.back() == ' ' || type.back() == ',')) type.pop_back();
      if (type.ends_with(" NOT NULL")) type.resize(type.size() - 9);
      current->push_back({line.substr(2, close - 2), type});
    } else if (line == ");") {
      current = nullptr;
    }
  }
  return tables;
}

MdbToolsReader::MdbToolsReader(std::filesystem::path file) : file_(std::move(file)) {}

const MdbSchema& MdbToolsReader::schema() {
  if (!schema_) {
    const ProcessResult result = runProcess({"mdb-schema", file_.string(), "access"});
    if (!result.succeeded()) schemaFailure_ = "mdb-schema failed: " + result.err;
    schema_ = parseMdbSchema(result.out);
  }
  return *schema_;
}

TableListing MdbToolsReader::tables() {
  TableListing listing;
  listing.kindsKnown = {TableKind::User, TableKind::System, TableKind::View, TableKind::Link};
  // mdb-tables lists nothing, successfully, for a file it cannot decode;
  // mdb-schema is the one that says so.
  schema();
  if (schemaFailure_) {
    listing.failure = schemaFailure_;
    return listing;
  }
  const std::string file = file_.string();
  const ProcessResult user = runProcess({"mdb-tables", "-1", file});
  const ProcessResult all = runProcess({"mdb-tables", "-S", "-1", file});
  const ProcessResult queries = runProcess({"mdb-tables", "-t", "query", "-1", file});
  const ProcessResult links = runProcess({"mdb-tables", "-t", "linkedtable", "-1", file});
  for (const ProcessResult* result : {&user, &all, &queries, &links}) {
    if (!result->succeeded()) {
      listing.failure = "mdb-tables failed: " + result->err;
      return listing;
    }
  }
  listing.names[TableKind::User] = nameSet(user);
  for (const std::string& name : nameSet(all)) {
    if (!listing.names[TableKind::User].contains(name)) listing.names[TableKind::System].insert(name);
  }
  listing.names[TableKind::View] = nameSet(queries);
  listing.names[TableKind::Link] = nameSet(links);
  return listing;
}

Reading<Column> MdbToolsReader::columns(const std::string& table) {
  Reading<Column> reading;
  const auto& tables = schema();
  reading.failure = schemaFailure_;
  const auto found = tables.find(table);
  if (!reading.failure && found == tables.end()) reading.failure = "mdb-schema lists no table " + table;
  if (reading.failure) return reading;
  for (const SchemaColumn& column : found->second) {
    reading.items.push_back({column.name, adoTypeOfMdbSchemaType(column.typeName)});
  }
  return reading;
}

Reading<Row> MdbToolsReader::rows(const std::string& table) {
  Reading<Row> reading;
  const Reading<Column> columnReading = columns(table);
  if (columnReading.failure) {
    reading.failure = columnReading.failure;
    return reading;
  }
  std::vector<std::string> argv = {"mdb-export"};
  argv.insert(argv.end(), kExportOptions.begin(), kExportOptions.end());
  argv.push_back(file_.string());
  argv.push_back(table);
  const ProcessResult result = runProcess(argv);
  if (!result.succeeded()) {
    reading.failure = "mdb-export failed: " + result.err;
    return reading;
  }
  const std::vector<Column>& columnList = columnReading.items;
  for (const std::string& line : splitLines(result.out)) {
    Row row = splitFields(line);
    for (std::size_t i = 0; i < row.size() && i < columnList.size(); ++i) {
      if (row[i] == "\\N") continue;
      switch (columnList[i].adoType.value_or(0)) {
        case ado::adCurrency:
        case ado::adNumeric: row[i] = trimDecimal(row[i]); break;
        case ado::adVarBinary:
        case ado::adLongVarBinary: row[i] = lowerCase(row[i]); break;
        default: break;
      }
    }
    reading.items.push_back(std::move(row));
  }
  return reading;
}

}  // namespace oracle
