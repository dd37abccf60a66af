// Reads an Access file through a program that speaks accessdb's command
// line: `<command...> tables|columns|export FILE [TABLE] [--password P]`.
// That is accessdb itself and the mdb-reader dump script.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "access_reader.h"

namespace oracle {

class LineToolReader : public AccessReader {
 public:
  LineToolReader(std::vector<std::string> command, std::filesystem::path file,
                 std::optional<std::string> password, std::set<TableKind> kindsKnown);

  TableListing tables() override;
  Reading<Column> columns(const std::string& table) override;
  Reading<Row> rows(const std::string& table) override;

 private:
  struct Output {
    std::vector<std::string> lines;
    std::optional<std::string> failure;
  };
  Output run(const std::string& verb, const std::optional<std::string>& table) const;

  std::vector<std::string> command_;
  std::filesystem::path file_;
  std::optional<std::string> password_;
  std::set<TableKind> kindsKnown_;
};

// Splits text at '\n' into lines (a last unterminated line counts too) and
// a line at '\t' into fields.
std::vector<std::string> splitLines(const std::string& text);
std::vector<std::string> splitFields(const std::string& line);

}  // namespace oracle
