#include "reader_agreement.h"

#include <algorithm>
#include <filesystem>

#include "accessdb_runner.h"
#include "ado/data_type.h"
#include "line_tool_reader.h"
#include "mdbtools_reader.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;
using oracle::Oracle;
using oracle::TableKind;

const fs::path kOracleDir = FERROVALE_ORACLE_DIR;
constexpr std::size_t kEnoughDisagreements = 20;

std::string shortened(const std::string& value) {
  return value.size() <= 80 ? value
                            : value.substr(0, 80) + "... (" + std::to_string(value.size()) + " bytes)";
}

bool outsideBmp(const std::string& utf8) {
  return std::ranges::any_of(utf8, [](char c) { return (static_cast<unsigned char>(c) & 0xF8) == 0xF0; });
}

std::string hexOf(const std::string& text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const unsigned char c : text) {
    hex.push_back(kDigits[c >> 4]);
    hex.push_back(kDigits[c & 0xF]);
  }
  return hex;
}

}  // namespace

std::optional<std::string> readerMissing(Oracle reader) {
  if (reader == Oracle::MdbTools)
    return oracle::programAvailable("mdb-export") ? std::nullopt
                                                  : std::optional<std::string>("mdbtools is not installed");
  if (!oracle::programAvailable("node") || !fs::exists(kOracleDir / "node_modules/mdb-reader"))
    return "mdb-reader is not installed (node and tests/oracle/install)";
  return std::nullopt;
}

ReaderAgreement::ReaderAgreement(const std::string& file, Oracle reader,
                                 const std::optional<std::string>& password)
    : which_(reader),
      engine_(std::make_unique<oracle::LineToolReader>(std::vector<std::string>{kAccessDb}, file, password,
                                                       std::set<TableKind>{TableKind::User})) {
  if (reader == Oracle::MdbTools)
    reader_ = std::make_unique<oracle::MdbToolsReader>(file);
  else
    reader_ = std::make_unique<oracle::LineToolReader>(
        std::vector<std::string>{"node", (kOracleDir / "mdb-reader-dump.mjs").string()}, file, password,
        std::set<TableKind>{TableKind::User});
}

// mdbtools 1.0 cannot show some values, and each of these is left to
// mdb-reader: dates before 1899-12-30 or past day 1,000,000 (it prints
// 1900-01-00), characters outside the Basic Multilingual Plane, and empty
// texts and binaries (it prints NULL). It shows a Binary value only up to
// its first zero byte, and a GUID as the hex of its text, which lacks the
// hyphen before the last group.
std::optional<std::string> ReaderAgreement::readerView(int adoType, const std::string& value) const {
  std::string projected = oracle::projectForOracle(which_, adoType, value);
  if (which_ != Oracle::MdbTools) return projected;
  switch (adoType) {
    case ado::adDate:
      if (value < "1899-12-30" || value > "4637-11-26 00:00:00") return std::nullopt;
      break;
    case ado::adVarWChar:
    case ado::adLongVarWChar:
      if (value.empty() || outsideBmp(value)) return std::nullopt;
      break;
    case ado::adVarBinary:
      if (value.empty()) return std::nullopt;
      for (std::size_t at = 0; at + 2 <= projected.size(); at += 2)
        if (projected.compare(at, 2, "00") == 0) return projected.substr(0, at);
      break;
    case ado::adLongVarBinary:
      if (value.empty()) return std::nullopt;
      break;
    case ado::adGUID:
      if (value.size() == 38) return hexOf(value.substr(0, 24) + value.substr(25));
      break;
    default: break;
  }
  return projected;
}

std::vector<std::string> ReaderAgreement::sameTables(std::vector<std::string>& disagreements) {
  oracle::TableListing ours = engine_->tables();
  oracle::TableListing theirs = reader_->tables();
  if (ours.failure) disagreements.push_back("accessdb lists no tables: " + *ours.failure);
  if (theirs.failure)
    disagreements.push_back(std::string(oracleName(which_)) + " lists no tables: " + *theirs.failure);
  const auto& ourNames = ours.names[TableKind::User];
  const auto& theirNames = theirs.names[TableKind::User];
  for (const std::string& name : ourNames)
    if (!theirNames.contains(name)) disagreements.push_back("only accessdb lists [" + name + "]");
  for (const std::string& name : theirNames)
    if (!ourNames.contains(name))
      disagreements.push_back("only " + std::string(oracleName(which_)) + " lists [" + name + "]");
  return {ourNames.begin(), ourNames.end()};
}

std::vector<std::string> ReaderAgreement::sameTable(const std::string& table) {
  std::vector<std::string> out;
  const std::string reader = oracleName(which_);
  const auto columns = engine_->columns(table);
  const auto theirColumns = reader_->columns(table);
  const auto rows = engine_->rows(table);
  const auto theirRows = reader_->rows(table);
  for (const auto* failure : {&columns.failure, &theirColumns.failure, &rows.failure, &theirRows.failure})
    if (*failure) out.push_back(table + ": " + **failure);
  if (!out.empty()) return out;

  if (columns.items.size() != theirColumns.items.size())
    return {table + ": accessdb reads " + std::to_string(columns.items.size()) + " columns, " + reader + " " +
            std::to_string(theirColumns.items.size())};
  for (std::size_t c = 0; c < columns.items.size(); ++c) {
    const auto& ours = columns.items[c];
    const auto& theirs = theirColumns.items[c];
    if (ours.name != theirs.name || ours.adoType != theirs.adoType)
      out.push_back(table + " column " + std::to_string(c + 1) + ": accessdb [" + ours.name + "] type " +
                    std::to_string(ours.adoType.value_or(-1)) + ", " + reader + " [" + theirs.name +
                    "] type " + std::to_string(theirs.adoType.value_or(-1)));
  }
  if (rows.items.size() != theirRows.items.size())
    out.push_back(table + ": accessdb reads " + std::to_string(rows.items.size()) + " rows, " + reader + " " +
                  std::to_string(theirRows.items.size()));
  if (!out.empty()) return out;

  for (std::size_t r = 0; r < rows.items.size() && out.size() < kEnoughDisagreements; ++r) {
    const oracle::Row& ours = rows.items[r];
    const oracle::Row& theirs = theirRows.items[r];
    if (ours.size() != columns.items.size() || theirs.size() != columns.items.size()) {
      out.push_back(table + " row " + std::to_string(r + 1) + ": fields do not match the columns");
      continue;
    }
    for (std::size_t c = 0; c < ours.size(); ++c) {
      const int type = columns.items[c].adoType.value_or(0);
      const auto view = readerView(type, ours[c]);
      if (view && *view != theirs[c])
        out.push_back(table + " row " + std::to_string(r + 1) + " [" + columns.items[c].name +
                      "]: accessdb \"" + shortened(ours[c]) + "\", " + reader + " \"" + shortened(theirs[c]) +
                      "\"");
    }
  }
  return out;
}

}  // namespace tools_test
