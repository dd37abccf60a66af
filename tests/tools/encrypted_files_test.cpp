// Password-encrypted files through accessdb: the encrypted fixtures
// changed by every kind of statement, files encrypted with the schemes no
// fixture shows (by a second, independent implementation in
// tests/oracle/office-encrypt.mjs, which also decrypts them again for
// mdbtools), and new encrypted files. Each reads back the same through
// accessdb and the independent readers - with the password only - and a
// new file holds neither the user's text nor the password in the clear.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "agreement_checks.h"
#include "line_tool_reader.h"
#include "mdbtools_reader.h"

namespace tools_test {
namespace {

using jetwrite_test::TempDir;
using oracle::Oracle;

const std::filesystem::path kOracleDir = FERROVALE_ORACLE_DIR;
constexpr const char* kSecretText = "Vertrauliche Notiz";

// Every kind of statement: a new table with long values, rows, a copy of
// a table as a rename makes it, and a table made and dropped again.
std::vector<std::string> everyStatementKind() {
  return {
      "INSERT INTO `Table1` VALUES(NULL, 'Neu')",
      "CREATE TABLE `Geheim Neu`(`id` COUNTER,`s` TEXT(50),`m` MEMO,`d` DATETIME,`c` CURRENCY)",
      "INSERT INTO `Geheim Neu` VALUES(NULL, '" + std::string(kSecretText) + "', '" + letters(5000) +
          "', '2024-02-29 13:14:15', '12.5')",
      "INSERT INTO `Geheim Neu` VALUES(NULL, 'Grüße 中文', NULL, NULL, NULL)",
      "SELECT a1.* INTO `Kopie` FROM `Geheim Neu` AS a1",
      "CREATE TABLE `Weg`(`a` INT)",
      "INSERT INTO `Weg` VALUES('1')",
      "DROP TABLE `Weg`",
  };
}

oracle::ProcessResult mdbReaderExport(const std::string& file, const std::optional<std::string>& password) {
  std::vector<std::string> argv{"node", (kOracleDir / "mdb-reader-dump.mjs").string(), "export", file,
                                "Table1"};
  if (password) argv.insert(argv.end(), {"--password", *password});
  return oracle::runProcess(argv);
}

// Without the password neither independent reader gets at the rows.
void expectUnreadableWithoutPassword(const std::string& file) {
  if (!readerMissing(Oracle::MdbReader)) {
    EXPECT_NE(mdbReaderExport(file, std::nullopt).exitStatus, 0);
  }
  if (!readerMissing(Oracle::MdbTools)) {
    EXPECT_TRUE(oracle::MdbToolsReader(file).rows("Table1").failure.has_value());
  }
  EXPECT_NE(accessdb({"export", file, "Table1", "--password", "wrong"}).exitStatus, 0);
}

std::string exportOf(const std::string& file, const std::string& table, const std::string& password) {
  const auto result = accessdb({"export", file, table, "--password", password});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  return result.out;
}

struct EncryptedFixture {
  const char* name;
  const char* password;
  bool mdbReaderReadsIt;
};

void PrintTo(const EncryptedFixture& f, std::ostream* out) {
  *out << f.name;
}

class ChangedEncryptedFixture : public ::testing::TestWithParam<EncryptedFixture> {};

TEST_P(ChangedEncryptedFixture, ReadsBackTheSameWithThePasswordOnly) {
  TempDir dir;
  const std::string path = copyOfFixture(dir, GetParam().name);
  runAll(dir, path, everyStatementKind(), GetParam().password);
  EXPECT_EQ(userTables(path, GetParam().password),
            (std::vector<std::string>{"Geheim Neu", "Kopie", "Table1"}));
  EXPECT_EQ(exportOf(path, "Kopie", GetParam().password), exportOf(path, "Geheim Neu", GetParam().password));
  if (GetParam().mdbReaderReadsIt)
    expectAgreement(path, Oracle::MdbReader, {}, GetParam().password);
  else
    EXPECT_EQ(exportOf(path, "Table1", GetParam().password), "1\tfoo\n2\tNeu\n");
  expectUnreadableWithoutPassword(path);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ChangedEncryptedFixture,
    ::testing::Values(EncryptedFixture{"encrypted/office-agile-4.4.accdb", "password", true},
                      EncryptedFixture{"encrypted/office-agile-4.2.accdb", "password", true},
                      EncryptedFixture{"encrypted/db2007-enc.accdb", "Test123", false}));

// Schemes without a fixture, applied to a plain file by the independent
// implementation.
class OtherScheme : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (const auto missing = readerMissing(Oracle::MdbReader)) GTEST_SKIP() << *missing;
  }
  void run(const char* mode, const std::string& in, const std::string& out) {
    const auto result = oracle::runProcess(
        {"node", (kOracleDir / "office-encrypt.mjs").string(), mode, GetParam(), in, out, kPassword});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
  }
  static constexpr const char* kPassword = "Schlüssel ñ 🔑";
};

TEST_P(OtherScheme, ReadsAndWritesAsTheIndependentImplementationDoes) {
  TempDir dir;
  const std::string plain = copyOfFixture(dir, "ace14/indexTestV2010.accdb");
  const std::string encrypted = dir.file("encrypted.accdb");
  run("encrypt", plain, encrypted);
  for (const std::string table : {"Table1", "Table2", "Table3"})
    EXPECT_EQ(exportOf(encrypted, table, kPassword), exportOf(plain, table, "")) << table;
  const auto wrong = accessdb({"tables", encrypted, "--password", "Schlüssel"});
  EXPECT_NE(wrong.err.find("Not a valid password."), std::string::npos) << wrong.err;

  std::vector<std::string> statements = everyStatementKind();
  statements.front() = "INSERT INTO `Table1` VALUES('99', '1', '11', 'neu', '0')";
  runAll(dir, encrypted, statements, kPassword);
  const std::string decrypted = dir.file("decrypted.accdb");
  run("decrypt", encrypted, decrypted);
  for (const std::string table : {"Table1", "Geheim Neu", "Kopie"})
    EXPECT_EQ(exportOf(encrypted, table, kPassword), exportOf(decrypted, table, "")) << table;
  expectAgreementOfBoth(decrypted);
}

INSTANTIATE_TEST_SUITE_P(Schemes, OtherScheme,
                         ::testing::Values("rc4-40", "rc4-128", "standard-aes128", "standard-aes192",
                                           "standard-aes256", "aes-without-flag"));

bool contains(const std::vector<std::uint8_t>& haystack, const std::vector<std::uint8_t>& needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

// The text as stored: bytes as given, and UTF-16LE for ASCII text.
std::vector<std::vector<std::uint8_t>> storedForms(const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end()), wide;
  for (const char c : text) wide.insert(wide.end(), {static_cast<std::uint8_t>(c), 0});
  return {bytes, wide};
}

class NewEncryptedFile : public ::testing::TestWithParam<const char*> {};

TEST_P(NewEncryptedFile, OpensOnlyWithThePasswordAndHidesTheData) {
  TempDir dir;
  const std::string path = dir.file("neu.accdb");
  const std::string password = "Kennwort123";
  ASSERT_EQ(accessdb({"create", path, "--format", GetParam(), "--password", password}).exitStatus, 0);
  std::vector<std::string> statements = everyStatementKind();
  statements.front() = "CREATE TABLE `Table1`(`id` COUNTER,`name` TEXT(20))";
  statements.push_back("INSERT INTO `Table1` VALUES(NULL, 'eins')");
  runAll(dir, path, statements, password);
  expectAgreement(path, Oracle::MdbReader, {}, password);
  expectUnreadableWithoutPassword(path);
  const auto bytes = jetwrite_test::readFile(path);
  for (const std::string& text : {std::string(kSecretText), password})
    for (const auto& form : storedForms(text))
      EXPECT_FALSE(contains(bytes, form)) << text << " is in the file";
}

INSTANTIATE_TEST_SUITE_P(Formats, NewEncryptedFile, ::testing::Values("ace12", "ace14", "ace16"));

}  // namespace
}  // namespace tools_test
