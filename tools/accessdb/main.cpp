// accessdb: a command-line window on Access files, used by the tests and
// benchmarks. Reading goes through the Access providers, changing through
// the engine's writer.
//   accessdb tables FILE [--password P]        TABLE_TYPE<TAB>TABLE_NAME
//   accessdb columns FILE TABLE [--password P] NAME<TAB>ADO type<TAB>type name
//   accessdb export FILE TABLE [--password P]  one line per row, TAB-separated
//   accessdb create FILE --format jet4|ace12|ace14|ace16 [--password P]
//       writes a new empty database; an existing FILE is never overwritten
//   accessdb sql FILE [--password P] [STATEMENT...]
//       runs the statements in order, or, when none are given, one per line
//       of standard input, blank lines skipped
// Errors go to standard error as "Error <number>: <description>"; the exit
// status is then 1. `sql` stops at the first failing statement; the ones
// before it stay done.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "ado/access/access_provider.h"
#include "ado/connection_string.h"
#include "ado/error.h"
#include "change_commands.h"
#include "db/data_type_name.h"
#include "export_text.h"
#include "jet/error.h"

namespace {

constexpr std::size_t kFlushAt = 1 << 16;
constexpr const char* kUsage =
    "usage: accessdb tables FILE [--password P]\n"
    "       accessdb columns FILE TABLE [--password P]\n"
    "       accessdb export FILE TABLE [--password P]\n"
    "       accessdb create FILE --format jet4|ace12|ace14|ace16 [--password P]\n"
    "       accessdb sql FILE [--password P] [STATEMENT...]\n";

struct Arguments {
  std::string command;
  std::vector<std::string> operands;
  std::string password;
  std::optional<jet::write::NewFormat> format;
};

bool operandCountFits(const Arguments& a) {
  const std::size_t n = a.operands.size();
  if (a.command == "tables" || a.command == "create") return n == 1;
  if (a.command == "columns" || a.command == "export") return n == 2;
  if (a.command == "sql") return n >= 1;
  return false;
}

std::optional<Arguments> parseArguments(int argc, char** argv) {
  Arguments a;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--password" || arg == "--format") {
      if (++i >= argc) return std::nullopt;
      if (arg == "--password") {
        a.password = argv[i];
      } else if (!(a.format = accessdb::newFormatNamed(argv[i]))) {
        return std::nullopt;
      }
    } else if (a.command.empty()) {
      a.command = arg;
    } else {
      a.operands.push_back(arg);
    }
  }
  // A format belongs to create alone, and create cannot do without one.
  if (!operandCountFits(a) || a.format.has_value() != (a.command == "create")) return std::nullopt;
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

std::string selectAll(const std::string& table) {
  return "SELECT * FROM `" + table + "`";
}

void listColumns(ado::Session& session, const std::string& table, Output& out) {
  auto cursor = session.query(selectAll(table));
  for (const auto& c : cursor->columns()) {
    out.buffer() += c.name + '\t' + std::to_string(c.type) + '\t' + db::DataTypeName(c.type);
    out.endLine();
  }
}

void runSql(const Arguments& a) {
  const std::vector<std::string> statements(a.operands.begin() + 1, a.operands.end());
  if (statements.empty())
    accessdb::runStatementLines(a.operands[0], a.password, std::cin);
  else
    accessdb::runStatements(a.operands[0], a.password, statements);
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

int reportError(std::int32_t number, const std::string& description) {
  std::fflush(stdout);
  std::fprintf(stderr, "Error %d: %s\n", number, description.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const auto args = parseArguments(argc, argv);
  if (!args) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  try {
    if (args->command == "create") {
      jet::write::createDatabase(args->operands[0], *args->format, args->password);
    } else if (args->command == "sql") {
      runSql(*args);
    } else {
      Output out;
      auto session = openSession(*args);
      if (args->command == "tables")
        listTables(*session, out);
      else if (args->command == "columns")
        listColumns(*session, args->operands[1], out);
      else
        exportRows(*session, args->operands[1], out);
    }
  } catch (const ado::Error& e) {
    return reportError(e.number(), e.description());
  } catch (const jet::Error& e) {
    return reportError(e.number(), e.description());
  }
  return 0;
}
