// What the tests of written files share: statements run through accessdb,
// fixture copies to change, and the readers' agreement as a test check.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "accessdb_runner.h"
#include "jetwrite/fixture_pages.h"
#include "jetwrite/temp_dir.h"
#include "oracle_required.h"
#include "reader_agreement.h"

namespace tools_test {

// Cycles through the alphabet so that a shifted or cut value shows.
inline std::string letters(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
  return s;
}

// Writes the statements one per line to `input`.
inline void writeStatements(const std::string& input, const std::vector<std::string>& statements) {
  std::string text;
  for (const auto& s : statements) text += s + "\n";
  writeText(input, text);
}

// Runs the statements through `accessdb sql`'s standard input.
inline void runAll(const jetwrite_test::TempDir& dir, const std::string& file,
                   const std::vector<std::string>& statements, const std::string& password = "") {
  const std::string input = dir.file("statements.sql");
  writeStatements(input, statements);
  std::vector<std::string> arguments{"sql", file};
  if (!password.empty()) arguments.insert(arguments.end(), {"--password", password});
  const auto result = accessdbReading(input, arguments);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
}

inline std::string copyOfFixture(const jetwrite_test::TempDir& dir, const std::string& fixture) {
  const std::string path = dir.file(std::filesystem::path(fixture).filename().string());
  std::filesystem::copy_file(jetwrite_test::fixturePath(fixture), path);
  std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  return path;
}

// The reader lists the user tables accessdb lists and reads `tables` (all
// of them when none are named) as accessdb does. A reader that is not
// installed marks the test skipped.
inline void expectAgreement(const std::string& file, oracle::Oracle reader,
                            const std::vector<std::string>& tables = {},
                            const std::optional<std::string>& password = std::nullopt) {
  if (const auto missing = readerMissing(reader)) SKIP_WITHOUT_ORACLE(*missing);
  ReaderAgreement agreement(file, reader, password);
  std::vector<std::string> disagreements;
  const std::vector<std::string> listed = agreement.sameTables(disagreements);
  for (const std::string& table : tables.empty() ? listed : tables) {
    const auto more = agreement.sameTable(table);
    disagreements.insert(disagreements.end(), more.begin(), more.end());
  }
  EXPECT_EQ(disagreements, std::vector<std::string>{}) << oracleName(reader);
}

inline void expectAgreementOfBoth(const std::string& file, const std::vector<std::string>& tables = {},
                                  const std::optional<std::string>& password = std::nullopt) {
  for (const oracle::Oracle reader : {oracle::Oracle::MdbTools, oracle::Oracle::MdbReader})
    expectAgreement(file, reader, tables, password);
}

}  // namespace tools_test
