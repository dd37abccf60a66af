// accessdb: a command-line window on Access files through the Access
// providers, used by the tests and benchmarks.
//   accessdb tables FILE [--password P]        TABLE_TYPE<TAB>TABLE_NAME
//   accessdb columns FILE TABLE [--password P] NAME<TAB>ADO type<TAB>type name
//   accessdb export FILE TABLE [--password P]  one line per row, TAB-separated
// Errors go to standard error as "Error <number>: <description>"; the exit
// status is then 1.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "ado/connection_string.h"
#include "ado/error.h"
#include "ado/access/access_provider.h"
#include "db/data_type_name.h"
#include "export_text.h"

namespace {

constexpr std::size_t kFlushAt = 1 << 16;
constexpr const char* kUsage =
    "usage: accessdb tables FILE [--password P]\n"
    "       accessdb columns FILE TABLE [--password P]\n"
    "       accessdb export FILE TABLE [--password P]\n";

struct Arguments {
  std::string command;
  std::vector<std::string> operands;
  std::string password;
};

std::optional<Arguments> parseArguments(int argc, char** argv) {
  Arguments a;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--password") {
      if (++i >= argc) return std::nullopt;
      a.password = argv[i];
    } else if (a.command.empty()) {
      a.command = arg;
    } else {
      a.operands.push_back(arg);
    }
  }
  const std::size_t wanted = a.command == "tables" ? 1 : (a.command == "columns" || a.command == "export") ? 2 : 0;
  if (wanted == 0 || a.operands.size() != wanted) return std::nullopt;
  return a;
}

// Collects output and writes it in large blocks.
class Output {
 public:
  Output() { buffer_.reserve(2 * kFlushAt); }
  ~Output() { flush(); }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  std::string& buffer() { return buffer_; }
  void endLine() {
    buffer_.push_back('\n');
    if (buffer_.size() >= kFlushAt) flush();
  }
  void flush() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
    buffer_.clear();
  }

 private:
  std::string buffer_;
};

std::unique_ptr<ado::Session> openSession(const Arguments& a) {
  ado::ConnectionString properties;
  properties.set("Data Source", a.operands[0]);
  properties.set("JET OLEDB:Database Password", a.password);
  return ado::access::AccessProvider().open(properties, ado::OpenOptions{});
}

void listTables(ado::Session& session, Output& out) {
  auto rows = session.tables();
  const auto& columns = rows->columns();
  std::size_t nameAt = 0, typeAt = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name == "TABLE_NAME") nameAt = i;
    if (columns[i].name == "TABLE_TYPE") typeAt = i;
  }
  std::vector<ado::Variant> row;
  while (rows->fetch(row)) {
    out.buffer() += row[typeAt].textForm() + '\t' + row[nameAt].textForm();
    out.endLine();
  }
}

std::string selectAll(const std::string& table) { return "SELECT * FROM `" + table + "`"; }

void listColumns(ado::Session& session, const std::string& table, Output& out) {
  auto cursor = session.query(selectAll(table));
  for (const auto& c : cursor->columns()) {
    out.buffer() += c.name + '\t' + std::to_string(c.type) + '\t' + db::DataTypeName(c.type);
    out.endLine();
  }
}

void exportRows(ado::Session& session, const std::string& table, Output& out) {
  auto cursor = session.query(selectAll(table));
  std::vector<ado::Variant> row;
  while (cursor->fetch(row)) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out.buffer().push_back('\t');
      accessdb::appendExportText(row[i], out.buffer());
    }
    out.endLine();
  }
}

}  // namespace

int main(int argc, char** argv) {
  const auto args = parseArguments(argc, argv);
  if (!args) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  try {
    Output out;
    auto session = openSession(*args);
    if (args->command == "tables")
      listTables(*session, out);
    else if (args->command == "columns")
      listColumns(*session, args->operands[1], out);
    else
      exportRows(*session, args->operands[1], out);
  } catch (const ado::Error& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "Error %d: %s\n", e.number(), e.description().c_str());
    return 1;
  }
  return 0;
}
