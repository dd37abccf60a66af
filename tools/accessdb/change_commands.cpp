#include "change_commands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "jet/database/database_writer.h"
#include "jet/sql/executor.h"
#include "jet/sql/parser.h"

namespace accessdb {
namespace {

bool blank(std::string_view line) {
  return std::ranges::all_of(line, [](unsigned char c) { return std::isspace(c) != 0; });
}

}  // namespace

std::optional<jet::write::NewFormat> newFormatNamed(std::string_view name) {
  using jet::write::NewFormat;
  static constexpr std::array<std::pair<std::string_view, NewFormat>, 4> kFormats{
      {{"jet4", NewFormat::Jet4},
       {"ace12", NewFormat::Ace12},
       {"ace14", NewFormat::Ace14},
       {"ace16", NewFormat::Ace16}}};
  for (const auto& [known, format] : kFormats)
    if (known == name) return format;
  return std::nullopt;
}

void runStatements(const std::string& path, const std::string& password,
                   const std::vector<std::string>& statements) {
  jet::write::DatabaseWriter writer(path, password);
  for (const std::string& statement : statements) jet::sql::execute(writer, jet::sql::parse(statement));
}

void runStatementLines(const std::string& path, const std::string& password, std::istream& lines) {
  jet::write::DatabaseWriter writer(path, password);
  for (std::string line; std::getline(lines, line);) {
    // Lines written on Windows end in CR LF; the CR is no part of the statement.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!blank(line)) jet::sql::execute(writer, jet::sql::parse(line));
  }
}

}  // namespace accessdb
