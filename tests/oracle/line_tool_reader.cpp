#include "line_tool_reader.h"

#include <charconv>

#include "process.h"

namespace oracle {
namespace {

std::optional<TableKind> kindOfType(const std::string& tableType) {
  if (tableType == "TABLE") return TableKind::User;
  if (tableType == "SYSTEM TABLE" || tableType == "ACCESS TABLE") return TableKind::System;
  if (tableType == "VIEW") return TableKind::View;
  if (tableType == "LINK") return TableKind::Link;
  if (tableType == "PASS-THROUGH") return TableKind::PassThrough;
  return std::nullopt;
}

std::optional<int> parseInt(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

const char* kindName(TableKind kind) {
  switch (kind) {
    case TableKind::User: return "user tables";
    case TableKind::System: return "system tables";
    case TableKind::View: return "views";
    case TableKind::Link: return "linked tables";
    case TableKind::PassThrough: return "pass-through tables";
  }
  return "?";
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string> splitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

LineToolReader::LineToolReader(std::vector<std::string> command, std::filesystem::path file,
                               std::optional<std::string> password, std::set<TableKind> kindsKnown)
    : command_(std::move(command)),
      file_(std::move(file)),
      password_(std::move(password)),
      kindsKnown_(std::move(kindsKnown)) {}

LineToolReader::Output LineToolReader::run(const std::string& verb,
                                           const std::optional<std::string>& table) const {
  std::vector<std::string> argv = command_;
  argv.push_back(verb);
  argv.push_back(file_.string());
  if (table) argv.push_back(*table);
  if (password_) {
    argv.push_back("--password");
    argv.push_back(*password_);
  }
  ProcessResult result = runProcess(argv);
  if (!result.succeeded()) {
    return {{}, "exit status " + std::to_string(result.exitStatus) + ": " + result.err};
  }
  return {splitLines(result.out), std::nullopt};
}

TableListing LineToolReader::tables() {
  TableListing listing;
  listing.kindsKnown = kindsKnown_;
  Output output = run("tables", std::nullopt);
  listing.failure = output.failure;
  for (const std::string& line : output.lines) {
    const std::vector<std::string> fields = splitFields(line);
    const std::optional<TableKind> kind = fields.size() == 2 ? kindOfType(fields[0]) : std::nullopt;
    if (!kind) {
      listing.failure = "unexpected table line \"" + line + "\"";
      break;
    }
    listing.names[*kind].insert(fields[1]);
  }
  return listing;
}

Reading<Column> LineToolReader::columns(const std::string& table) {
  Output output = run("columns", table);
  Reading<Column> reading{{}, output.failure};
  for (const std::string& line : output.lines) {
    const std::vector<std::string> fields = splitFields(line);
    const std::optional<int> type = fields.size() == 3 ? parseInt(fields[1]) : std::nullopt;
    if (!type) {
      reading.failure = "unexpected column line \"" + line + "\"";
      break;
    }
    reading.items.push_back({fields[0], type});
  }
  return reading;
}

Reading<Row> LineToolReader::rows(const std::string& table) {
  Output output = run("export", table);
  Reading<Row> reading{{}, output.failure};
  for (const std::string& line : output.lines) reading.items.push_back(splitFields(line));
  return reading;
}

}  // namespace oracle
