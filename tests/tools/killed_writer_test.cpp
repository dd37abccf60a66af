// accessdb killed with SIGKILL in the middle of a stream of INSERT or DROP
// TABLE statements: the file opens afterwards, every statement is whole or
// absent, and the independent readers, which know nothing of the rollback
// journal, read what our reader reads once it has rolled the cut
// statement back.
#include <gtest/gtest.h>

#include <filesystem>

#include "agreement_checks.h"
#include "line_tool_reader.h"

namespace tools_test {
namespace {

using jetwrite_test::TempDir;

// A memo that repeats the row's number, so that a torn row shows.
std::string memoOf(int i) {
  std::string memo;
  for (int k = 0; k < 100; ++k) memo += std::to_string(i) + ";";
  return memo;
}

std::vector<std::string> withOptions(std::vector<std::string> arguments,
                                     const std::vector<std::string>& options) {
  arguments.insert(arguments.end(), options.begin(), options.end());
  return arguments;
}

// Copies `prepared` to `path` and runs `input` on it until accessdb is
// killed after doing part of the work, waiting longer each time it is
// killed before it did any, as a busy machine may make it start slowly.
// `done` counts the statements whose effect the file shows.
// `options` go to every accessdb command (a password).
template <typename Done>
int killPartWay(const std::string& prepared, const std::string& path, const std::string& input, Done done,
                const std::vector<std::string>& options = {}) {
  const auto with = [&](std::vector<std::string> arguments) {
    return withOptions(std::move(arguments), options);
  };
  for (double seconds = 1; seconds <= 16; seconds *= 2) {
    std::filesystem::copy_file(prepared, path, std::filesystem::copy_options::overwrite_existing);
    EXPECT_TRUE(accessdbKilledWhileReading(seconds, input, with({"sql", path})))
        << "finished within " << seconds << " s";
    // accessdb reads after rolling back what the kill cut short.
    const auto opened = accessdb(with({"tables", path}));
    EXPECT_EQ(opened.exitStatus, 0) << opened.err;
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    if (const int n = done(); n > 0) return n;
  }
  ADD_FAILURE() << "accessdb never got going before it was killed";
  return 0;
}

// Inserts into a new ACE file, encrypted when `password` is given, cut
// short by a kill.
void insertsCutShort(const std::string& password) {
  TempDir dir;
  const std::string prepared = dir.file("prepared.accdb");
  const std::string path = dir.file("cut.accdb");
  const std::vector<std::string> options =
      password.empty() ? std::vector<std::string>{} : std::vector<std::string>{"--password", password};
  const auto with = [&](std::vector<std::string> arguments) {
    return withOptions(std::move(arguments), options);
  };
  ASSERT_EQ(accessdb(with({"create", prepared, "--format", "ace14"})).exitStatus, 0);
  ASSERT_EQ(accessdb(with({"sql", prepared, "CREATE TABLE `Abgebrochen`(`id` COUNTER,`n` INT,`m` MEMO)"}))
                .exitStatus,
            0);
  constexpr int kRows = 30000;  // more than it can write before the kill
  std::vector<std::string> inserts;
  for (int i = 0; i < kRows; ++i)
    inserts.push_back("INSERT INTO `Abgebrochen` VALUES(NULL, '" + std::to_string(i) + "', '" + memoOf(i) +
                      "')");
  writeStatements(dir.file("inserts.sql"), inserts);

  std::vector<std::string> rows;
  const int kept = killPartWay(
      prepared, path, dir.file("inserts.sql"),
      [&] {
        rows = oracle::splitLines(accessdb(with({"export", path, "Abgebrochen"})).out);
        return static_cast<int>(rows.size());
      },
      options);
  ASSERT_GT(kept, 0);
  ASSERT_LT(kept, kRows);
  for (int i = 0; i < kept; ++i)
    ASSERT_EQ(rows[i], std::to_string(i + 1) + "\t" + std::to_string(i) + "\t" + memoOf(i)) << "row " << i;
  if (password.empty())
    expectAgreementOfBoth(path);
  else
    expectAgreement(path, oracle::Oracle::MdbReader, {}, password);
  // The file takes further statements, and numbering goes on.
  ASSERT_EQ(accessdb(with({"sql", path, "INSERT INTO `Abgebrochen` VALUES(NULL, '-1', 'after')"})).exitStatus,
            0);
  const auto last = oracle::splitLines(accessdb(with({"export", path, "Abgebrochen"})).out).back();
  EXPECT_EQ(last, std::to_string(kept + 1) + "\t-1\tafter");
}

TEST(KilledWriter, DuringInsertsLeavesWholeRows) {
  insertsCutShort("");
}

TEST(KilledWriter, DuringInsertsIntoAnEncryptedFileLeavesWholeRows) {
  insertsCutShort("Geheimnis");
}

TEST(KilledWriter, DuringDropsLeavesTheOtherTables) {
  TempDir dir;
  const std::string prepared = dir.file("prepared.mdb");
  const std::string path = dir.file("cut.mdb");
  ASSERT_EQ(accessdb({"create", prepared, "--format", "jet4"}).exitStatus, 0);
  constexpr int kTables = 200;
  const auto name = [](int i) { return "Tabelle " + std::to_string(1000 + i); };
  std::vector<std::string> creates, drops;
  for (int i = 0; i < kTables; ++i) {
    creates.push_back("CREATE TABLE `" + name(i) + "`(`a` INT,`b` MEMO)");
    creates.push_back("INSERT INTO `" + name(i) + "` VALUES('" + std::to_string(i) + "', '" + memoOf(i) +
                      "')");
    drops.push_back("DROP TABLE `" + name(i) + "`");
  }
  runAll(dir, prepared, creates);
  writeStatements(dir.file("drops.sql"), drops);

  std::vector<std::string> left;
  const int dropped = killPartWay(prepared, path, dir.file("drops.sql"), [&] {
    left = userTables(path);
    return kTables - static_cast<int>(left.size());
  });
  ASSERT_GT(dropped, 0);
  ASSERT_LT(dropped, kTables);
  // Tables are dropped in order: what is left are the last ones, whole.
  std::vector<std::string> expected;
  for (int i = dropped; i < kTables; ++i) expected.push_back(name(i));
  EXPECT_EQ(left, expected);
  EXPECT_EQ(accessdb({"export", path, name(dropped)}).out,
            std::to_string(dropped) + "\t" + memoOf(dropped) + "\n");

  expectAgreementOfBoth(path, {name(dropped), name(kTables - 1)});
  // The name of a dropped table is free again.
  ASSERT_EQ(accessdb({"sql", path, "CREATE TABLE `" + name(0) + "`(`c` TEXT(5))"}).exitStatus, 0);
}

}  // namespace
}  // namespace tools_test
