// The rollback journal of an encrypted database holds the pages as the
// file stores them, never their plain text: a plain file's journal shows
// the rows of pages a statement overwrote, an encrypted file's does not.
#include <gtest/gtest.h>

#include <algorithm>

#include "jet/database/database.h"
#include "jet/database/new_database.h"
#include "scratch_copy.h"

namespace {

using jet::write::DatabaseWriter;
using jetwrite_test::run;

// Whether the ASCII `text` is in `bytes`, as one byte a character (Jet's
// compressed text) or as UTF-16LE.
bool contains(const std::vector<std::uint8_t>& bytes, std::string_view text) {
  std::vector<std::uint8_t> wide;
  for (const char c : text) wide.insert(wide.end(), {static_cast<std::uint8_t>(c), 0});
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end() ||
         std::search(bytes.begin(), bytes.end(), wide.begin(), wide.end()) != bytes.end();
}

// Journal bytes after a table with a row was dropped and its pages taken
// again by a new table: the journal keeps the old bytes of those pages.
std::vector<std::uint8_t> journalAfterReusingPages(const std::string& path, const std::string& password) {
  DatabaseWriter writer(path, password);
  run(writer, "CREATE TABLE `Notizen`(`id` COUNTER,`s` TEXT(50))");
  run(writer, "INSERT INTO `Notizen` VALUES(NULL, 'Klartext erste Zeile')");
  run(writer, "DROP TABLE `Notizen`");
  run(writer, "CREATE TABLE `Neu`(`id` COUNTER,`s` TEXT(50))");
  run(writer, "INSERT INTO `Neu` VALUES(NULL, 'x')");
  return jetwrite_test::readFile(jet::journal::RollbackJournal::pathFor(path));
}

TEST(EncryptedJournal, HoldsNoPlainTextOfTheDatabase) {
  jetwrite_test::TempDir dir;
  const std::string plain = dir.file("plain.accdb");
  jet::write::createDatabase(plain, jet::write::NewFormat::Ace14);
  EXPECT_TRUE(contains(journalAfterReusingPages(plain, ""), "Klartext erste Zeile"));

  for (const auto& [fixture, password] :
       {std::pair{"encrypted/office-agile-4.4.accdb", "password"},
        std::pair{"encrypted/office-agile-4.2.accdb", "password"}, std::pair{"encrypted/db-enc.mdb", ""}}) {
    const std::string path = jetwrite_test::copyFixture(dir, fixture);
    const auto journal = journalAfterReusingPages(path, password);
    EXPECT_FALSE(journal.empty()) << fixture;
    EXPECT_FALSE(contains(journal, "Klartext erste Zeile")) << fixture;
  }
}

// A copy larger than the writer holds in memory writes its new pages into
// the file before it commits; in an encrypted file they go out encrypted
// like every other page, and read back whole with the password.
TEST(EncryptedFile, ALargeCopyIsWrittenEncrypted) {
  jetwrite_test::TempDir dir;
  const std::string path = dir.file("large.accdb");
  jet::write::createDatabase(path, jet::write::NewFormat::Ace14, "Kennwort");
  // Ten pages of memo a row: more pages than the writer keeps in memory.
  constexpr int kRows = 450;
  std::string memo = "Klartext";
  while (memo.size() < 40000) memo += " Zeile";
  {
    DatabaseWriter writer(path, "Kennwort");
    run(writer, "CREATE TABLE `t`(`n` INT,`m` MEMO)");
    for (int i = 0; i < kRows; ++i)
      run(writer, "INSERT INTO `t` VALUES('" + std::to_string(i) + "', '" + memo + "')");
    run(writer, "SELECT a1.* INTO `copy` FROM `t` AS a1;");
  }
  EXPECT_FALSE(contains(jetwrite_test::readFile(path), "Klartext Zeile Zeile"));
  auto db = jet::Database::open(path, "Kennwort");
  jet::RowCursor rows = db->table("copy").rows();
  std::vector<jet::Value> row;
  int read = 0;
  while (rows.next(row)) {
    ASSERT_EQ(row[0], jet::Value(static_cast<std::int32_t>(read)));
    ASSERT_EQ(row[1], jet::Value(memo));
    ++read;
  }
  EXPECT_EQ(read, kRows);
}

}  // namespace
