// `accessdb create`: a new file of each format that every reader takes,
// and no way to lose an existing file or to get a file of another format
// than the one asked for.
#include <gtest/gtest.h>

#include <filesystem>

#include "accessdb_runner.h"
#include "jetwrite/fixture_pages.h"
#include "jetwrite/temp_dir.h"

namespace tools_test {
namespace {

using jetwrite_test::readFile;
using jetwrite_test::TempDir;

constexpr const char* kUsageStart = "usage: accessdb tables FILE";

struct Format {
  const char* name;
  const char* file;
  const char* mdbVer;  // what mdb-ver says of such a file
};

void PrintTo(const Format& f, std::ostream* out) {
  *out << f.name;
}

class CreateFormat : public ::testing::TestWithParam<Format> {};

TEST_P(CreateFormat, MakesAnEmptyDatabaseOfThatFormat) {
  TempDir dir;
  const std::string path = dir.file(GetParam().file);
  const auto created = accessdb({"create", path, "--format", GetParam().name});
  ASSERT_EQ(created.exitStatus, 0) << created.err;
  EXPECT_EQ(created.out, "");
  EXPECT_EQ(created.err, "");

  const auto tables = accessdb({"tables", path});
  ASSERT_EQ(tables.exitStatus, 0) << tables.err;
  EXPECT_NE(tables.out.find("SYSTEM TABLE\tMSysObjects\n"), std::string::npos) << tables.out;
  EXPECT_EQ(tables.out.find("\nTABLE\t"), std::string::npos) << tables.out;
  const auto version = oracle::runProcess({"mdb-ver", path});
  EXPECT_EQ(version.out, std::string(GetParam().mdbVer) + "\n") << version.err;
}

INSTANTIATE_TEST_SUITE_P(Formats, CreateFormat,
                         ::testing::Values(Format{"jet4", "new.mdb", "JET4"},
                                           Format{"ace12", "new.accdb", "ACE12"},
                                           Format{"ace14", "new.accdb", "ACE14"},
                                           Format{"ace16", "new.accdb", "ACE16"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Create, NeverOverwritesAnExistingFile) {
  TempDir dir;
  const std::string text = dir.file("notes.mdb");
  writeText(text, "not a database, but somebody's notes\n");
  const std::string database = dir.file("kept.accdb");
  ASSERT_EQ(accessdb({"create", database, "--format", "ace16"}).exitStatus, 0);
  ASSERT_EQ(accessdb({"sql", database, "CREATE TABLE `Kept`(`a` INT)"}).exitStatus, 0);

  for (const std::string& path : {text, database}) {
    const auto before = readFile(path);
    const auto again = accessdb({"create", path, "--format", "jet4"});
    EXPECT_EQ(again.exitStatus, 1) << path;
    EXPECT_TRUE(again.err.starts_with("Error -2147467259: ")) << again.err;
    EXPECT_NE(again.err.find("already exists"), std::string::npos) << again.err;
    EXPECT_EQ(readFile(path), before) << path;
  }
  EXPECT_EQ(userTables(database), std::vector<std::string>{"Kept"});
}

TEST(Create, RefusesBadArgumentsWithoutMakingAFile) {
  TempDir dir;
  const std::string path = dir.file("new.mdb");
  const std::vector<std::vector<std::string>> refused = {
      {"create", path, "--format", "jet3"},    // Access 97 files are read, never made
      {"create", path, "--format", "ACE16 "},  // names are exact
      {"create", path},                        // no format
      {"create", path, "--format"},            // format without a name
      {"create", "--format", "jet4"},          // no file
      {"create", path, path + "2", "--format", "jet4"},
      {"tables", path, "--format", "jet4"},  // a format only means something to create
  };
  for (const auto& arguments : refused) {
    const auto result = accessdb(arguments);
    EXPECT_EQ(result.exitStatus, 1) << arguments.size();
    EXPECT_TRUE(result.err.starts_with(kUsageStart)) << result.err;
    EXPECT_FALSE(std::filesystem::exists(path)) << arguments.size();
  }
}

TEST(Create, ReportsAFolderThatIsNotThere) {
  TempDir dir;
  const auto result = accessdb({"create", dir.file("missing/new.mdb"), "--format", "jet4"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(result.err.starts_with("Error -2147467259: ")) << result.err;
}

TEST(Create, APasswordGuardsTheNewFile) {
  TempDir dir;
  for (const char* format : {"jet4", "ace14"}) {
    const std::string path = dir.file(std::string("locked-") + format);
    ASSERT_EQ(accessdb({"create", path, "--format", format, "--password", "Grün 7"}).exitStatus, 0);
    const auto withoutPassword = accessdb({"tables", path});
    EXPECT_EQ(withoutPassword.exitStatus, 1);
    EXPECT_EQ(withoutPassword.err, "Error -2147217843: Not a valid password.\n");
    EXPECT_EQ(accessdb({"tables", path, "--password", "grün 7"}).exitStatus, 1)
        << "the password is case-sensitive";
    EXPECT_EQ(accessdb({"tables", path, "--password", "Grün 7"}).exitStatus, 0);
  }
  const auto tooLong =
      accessdb({"create", dir.file("long.mdb"), "--format", "jet4", "--password", std::string(21, 'p')});
  EXPECT_EQ(tooLong.exitStatus, 1);
  EXPECT_TRUE(tooLong.err.starts_with("Error ")) << tooLong.err;
  EXPECT_FALSE(std::filesystem::exists(dir.file("long.mdb")));
}

}  // namespace
}  // namespace tools_test
