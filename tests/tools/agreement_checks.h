// What the tests of written files share: statements run through accessdb,
// fixture copies to change, and the readers' agreement as a test check.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "accessdb_runner.h"
#include "jetwrite/fixture_pages.h"
#include "jetwrite/temp_dir.h"
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
                   const std::vector<std::string>& statements) {
  const std::string input = dir.file("statements.sql");
  writeStatements(input, statements);
  const auto result = accessdbReading(input, {"sql", file});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
}

inline std::string copyOfFixture(const jetwrite_test::TempDir& dir, const std::string& fixture) {
  const std::string path = dir.file(std::filesystem::path(fixture).filename().string());
  std::filesystem::copy_file(jetwrite_test::fixturePath(fixture), path);
  std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  return path;
}

inline void expectAgreement(const std::string& file, oracle::Oracle reader) {
  if (const auto missing = readerMissing(reader)) GTEST_SKIP() << *missing;
  EXPECT_EQ(ReaderAgreement(file, reader).sameEverything(), std::vector<std::string>{}) << oracleName(reader);
}

// Both independent readers; a missing one marks the test skipped once the
// other has been asked.
inline void expectAgreementOfBoth(const std::string& file) {
  std::string missing;
  for (const oracle::Oracle reader : {oracle::Oracle::MdbTools, oracle::Oracle::MdbReader}) {
    if (const auto why = readerMissing(reader)) {
      missing += *why + "; ";
      continue;
    }
    EXPECT_EQ(ReaderAgreement(file, reader).sameEverything(), std::vector<std::string>{}) << oracleName(reader);
  }
  if (!missing.empty()) GTEST_SKIP() << missing;
}

}  // namespace tools_test
