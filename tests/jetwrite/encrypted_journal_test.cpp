// The rollback journal of an encrypted database holds the pages as the
// file stores them, never their plain text: a plain file's journal shows
// the rows of pages a statement overwrote, an encrypted file's does not.
#include <gtest/gtest.h>

#include <algorithm>

#include "jet/write/new_database.h"
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

  for (const auto& [fixture, password] : {std::pair{"encrypted/office-agile-4.4.accdb", "password"},
                                          std::pair{"encrypted/office-agile-4.2.accdb", "password"},
                                          std::pair{"encrypted/db-enc.mdb", ""}}) {
    const std::string path = jetwrite_test::copyFixture(dir, fixture);
    const auto journal = journalAfterReusingPages(path, password);
    EXPECT_FALSE(journal.empty()) << fixture;
    EXPECT_FALSE(contains(journal, "Klartext erste Zeile")) << fixture;
  }
}

}  // namespace
