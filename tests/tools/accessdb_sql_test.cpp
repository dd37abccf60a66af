// `accessdb sql`: statements from the command line or one per line of
// standard input, run in order, and the first failure ends the run with
// every statement before it kept and none after it run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "accessdb_runner.h"
#include "jetwrite/fixture_pages.h"
#include "jetwrite/temp_dir.h"

namespace tools_test {
namespace {

using jetwrite_test::TempDir;

constexpr const char* kCreate = "CREATE TABLE `Parts List`(`id` COUNTER,`name` TEXT(20),`qty` INT)";
constexpr const char* kTypeMismatch = "Error -2147217913: Data type mismatch in criteria expression.";

class Sql : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto created = accessdb({"create", path_, "--format", "ace14"});
    ASSERT_EQ(created.exitStatus, 0) << created.err;
  }

  oracle::ProcessResult sql(std::vector<std::string> statements) {
    statements.insert(statements.begin(), {"sql", path_});
    return accessdb(statements);
  }
  oracle::ProcessResult sqlFromInput(const std::string& lines) {
    writeText(dir_.file("input.sql"), lines);
    return accessdbReading(dir_.file("input.sql"), {"sql", path_});
  }
  std::string exported(const std::string& table) { return accessdb({"export", path_, table}).out; }

  TempDir dir_;
  const std::string path_ = dir_.file("parts.accdb");
};

TEST_F(Sql, RunsTheArgumentsInOrder) {
  const auto result = sql({kCreate, "INSERT INTO `Parts List` VALUES(NULL, 'bolt', '40');",
                           "INSERT INTO `Parts List` VALUES(NULL, 'O''Brien nut', -3)"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(exported("Parts List"), "1\tbolt\t40\n2\tO'Brien nut\t-3\n");
}

TEST_F(Sql, ReadsOneStatementPerLineSkippingBlankOnes) {
  const auto result =
      sqlFromInput(std::string(kCreate) + "\n\n   \n" +
                   "INSERT INTO `Parts List` VALUES(NULL, 'washer', '1')\r\n"
                   "\t\r\n"
                   "INSERT INTO `Parts List` VALUES(NULL, 'Grüße 😀', '2')");  // no final newline
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(exported("Parts List"), "1\twasher\t1\n2\tGrüße 😀\t2\n");
}

TEST_F(Sql, EmptyInputChangesNothing) {
  const auto before = jetwrite_test::readFile(path_);
  const auto result = sqlFromInput("");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(jetwrite_test::readFile(path_), before);
}

TEST_F(Sql, StopsAtTheFirstFailingArgument) {
  const auto result =
      sql({kCreate, "INSERT INTO `Parts List` VALUES(NULL, 'kept', '1')",
           "INSERT INTO `Parts List` VALUES(NULL, 'refused', 'many')",
           "INSERT INTO `Parts List` VALUES(NULL, 'never run', '3')", "DROP TABLE `Parts List`"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(result.err.starts_with(kTypeMismatch)) << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  EXPECT_EQ(exported("Parts List"), "1\tkept\t1\n");
}

TEST_F(Sql, StopsAtTheFirstFailingLine) {
  ASSERT_EQ(sql({kCreate}).exitStatus, 0);
  const auto result = sqlFromInput(
      "INSERT INTO `Parts List` VALUES(NULL, 'kept', '1')\n"
      "CREATE TABLE `Later`(`a` INT)\n"
      "INSERT INTO `Parts List` VALUES(NULL, 'far too long for twenty', '2')\n"
      "INSERT INTO `Parts List` VALUES(NULL, 'never run', '3')\n"
      "CREATE TABLE `Never`(`a` INT)\n");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(result.err.starts_with("Error -2147217833: ")) << result.err;  // data overflow
  EXPECT_EQ(exported("Parts List"), "1\tkept\t1\n");
  EXPECT_EQ(userTables(path_), (std::vector<std::string>{"Later", "Parts List"}));
}

TEST_F(Sql, ReportsWhatTheEngineDoesNotUnderstandOrFind) {
  const auto garbled = sql({"CREATE TABEL `x`(`a` INT)"});
  EXPECT_EQ(garbled.exitStatus, 1);
  EXPECT_TRUE(garbled.err.starts_with("Error -2147217900: ")) << garbled.err;  // syntax
  const auto missing = sql({"DROP TABLE `Nowhere`"});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_TRUE(missing.err.starts_with("Error -2147217865: ")) << missing.err;  // no such table
  const auto query = sql({"SELECT * FROM `MSysObjects`"});
  EXPECT_EQ(query.exitStatus, 1);
  EXPECT_TRUE(query.err.starts_with("Error ")) << query.err;
  const auto noFile = accessdb({"sql", dir_.file("absent.accdb"), kCreate});
  EXPECT_EQ(noFile.exitStatus, 1);
  EXPECT_TRUE(noFile.err.starts_with("Error -2147467259: ")) << noFile.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.file("absent.accdb")));
  EXPECT_TRUE(userTables(path_).empty());
}

TEST(SqlPassword, NeededToChangeAGuardedFile) {
  TempDir dir;
  const std::string path = dir.file("guarded.mdb");
  ASSERT_EQ(accessdb({"create", path, "--format", "jet4", "--password", "s3cret"}).exitStatus, 0);
  const auto before = jetwrite_test::readFile(path);
  for (const std::vector<std::string>& withoutIt :
       {std::vector<std::string>{"sql", path, kCreate}, {"sql", path, kCreate, "--password", "S3CRET"}}) {
    const auto refused = accessdb(withoutIt);
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_EQ(refused.err, "Error -2147217843: Not a valid password.\n");
  }
  EXPECT_EQ(jetwrite_test::readFile(path), before);

  const auto done = accessdb({"sql", path, "--password", "s3cret", kCreate,
                              "INSERT INTO `Parts List` VALUES(NULL, 'locked away', '9')"});
  ASSERT_EQ(done.exitStatus, 0) << done.err;
  EXPECT_EQ(accessdb({"export", path, "Parts List", "--password", "s3cret"}).out, "1\tlocked away\t9\n");
  EXPECT_EQ(userTables(path, "s3cret"), std::vector<std::string>{"Parts List"});
}

}  // namespace
}  // namespace tools_test
