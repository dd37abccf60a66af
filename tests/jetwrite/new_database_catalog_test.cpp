// The catalog of a new database under hundreds of tables: MSysObjects'
// index on (ParentId, Name) grows past one page in either General sort
// order, both its indexes stay in order and in step with the rows through
// creates and drops, and mdbtools lists exactly the tables that are left.
#include <gtest/gtest.h>

#include <algorithm>

#include "index_audit.h"
#include "jet/database/database_writer.h"
#include "jet/database/new_database.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

// Legacy General sort order (Jet4) and the 2010 General one (Ace16).
class NewCatalog : public ::testing::TestWithParam<NewFormat> {};

// Which of MSysObjects' real indexes is ParentIdName (ParentId, Name); the
// other one, on Id alone, holds short keys and fits one page far longer.
std::size_t parentIdNameIndex(const std::string& path) {
  auto db = Database::open(path, "");
  const Table t = db->table("MSysObjects");
  const auto definition = readTableDefBytes(db->pager(), db->header().format, t.def().page);
  const auto indexes = readRealIndexes(definition, t.def(), db->header().format);
  for (std::size_t i = 0; i < indexes.size(); ++i)
    if (indexes[i].columns.size() == 2) return i;
  ADD_FAILURE() << "MSysObjects has no index on two columns";
  return 0;
}

void expectCatalogRight(const std::string& path, const char* when) {
  EXPECT_EQ(jetwrite_test::indexFaults(path), "") << when;
  const auto audit = jetwrite_test::auditIndex(path, "MSysObjects", parentIdNameIndex(path));
  EXPECT_GE(audit.depth, 2u) << when;
}

TEST_P(NewCatalog, SplitsItsIndexesAndKeepsThemRight) {
  jetwrite_test::TempDir dir;
  const std::string path = dir.file("catalog");
  createDatabase(path, GetParam());
  const auto name = [](int i) { return "Größe und Maß Nr " + std::to_string(i); };
  {
    DatabaseWriter writer(path, "");
    for (int i = 0; i < 300; ++i) jetwrite_test::run(writer, "CREATE TABLE `" + name(i) + "`(`a` INT)");
  }
  expectCatalogRight(path, "after creating");
  {
    DatabaseWriter writer(path, "");
    for (int i = 0; i < 300; i += 2) jetwrite_test::run(writer, "DROP TABLE `" + name(i) + "`");
    for (int i = 0; i < 300; i += 10)
      jetwrite_test::run(writer, "CREATE TABLE `" + name(i) + "`(`b` TEXT(5))");
  }
  expectCatalogRight(path, "after dropping and creating again");

  std::vector<std::string> expected;
  for (int i = 0; i < 300; ++i)
    if (i % 2 == 1 || i % 10 == 0) expected.push_back(name(i));
  const std::string listed = jetwrite_test::runCommand("mdb-tables -1 " + jetwrite_test::quoted(path)).output;
  std::vector<std::string> names;
  for (std::size_t start = 0, end; (end = listed.find('\n', start)) != std::string::npos; start = end + 1)
    names.push_back(listed.substr(start, end - start));
  std::sort(expected.begin(), expected.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, NewCatalog, ::testing::Values(NewFormat::Jet4, NewFormat::Ace16),
                         [](const auto& info) { return info.param == NewFormat::Jet4 ? "Jet4" : "Ace16"; });

}  // namespace
}  // namespace jet::write
