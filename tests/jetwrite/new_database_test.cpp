// New empty databases of every writable format: what the catalog holds,
// that every reader takes the file, that tables can be created, filled,
// dropped and created again in it, and that a password is demanded.
#include "jet/database/new_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "fixture_pages.h"
#include "index_audit.h"
#include "jet/database/database.h"
#include "jet/database/database_writer.h"
#include "jet/error.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::quoted;
using jetwrite_test::run;
using jetwrite_test::runCommand;

struct Case {
  NewFormat format;
  const char* file;
  Version version;
  std::uint8_t sortOrderVersion;
  const char* accessMade;  // the empty file Access makes in this format
};

class NewDatabase : public ::testing::TestWithParam<Case> {};

std::vector<std::string> tableNames(Database& db) {
  std::vector<std::string> names;
  for (const CatalogEntry& e : db.catalog())
    if (e.objectType() == ObjectType::Table) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

TEST_P(NewDatabase, HeaderAndCatalogAsJetLaysThemOut) {
  jetwrite_test::TempDir dir;
  const std::string path = dir.file(GetParam().file);
  createDatabase(path, GetParam().format);
  EXPECT_FALSE(std::filesystem::exists(path + "-journal"));

  auto db = Database::open(path, "");
  EXPECT_EQ(db->header().version, GetParam().version);
  EXPECT_EQ(db->header().codePage, 1252);
  EXPECT_EQ(db->header().sortOrder, 0x0409);
  EXPECT_EQ(db->header().sortOrderVersion, GetParam().sortOrderVersion);
  EXPECT_EQ(db->header().databaseKey, 0u);
  EXPECT_EQ(db->header().password, "");
  EXPECT_GT(db->header().creationDate, 45000.0);  // after 2023

  std::vector<std::string> expected{"MSysACEs", "MSysObjects", "MSysQueries", "MSysRelationships"};
  if (GetParam().version != Version::Jet4) expected.insert(expected.begin() + 1, "MSysComplexColumns");
  EXPECT_EQ(tableNames(*db), expected);
  EXPECT_EQ(db->table("MSysObjects").def().page, 2u);
  EXPECT_EQ(db->table("MSysACEs").def().page, 3u);
  // Containers, MSysDb and one row per system table.
  EXPECT_EQ(db->table("MSysObjects").countRows(), 4 + expected.size());
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");

  const auto system = runCommand("mdb-tables -S -1 " + quoted(path));
  EXPECT_EQ(system.status, 0) << system.output;
  for (const auto& name : expected)
    EXPECT_NE(system.output.find(name + "\n"), std::string::npos) << system.output;
  const auto user = runCommand("mdb-tables -1 " + quoted(path));
  EXPECT_EQ(user.output, "");
  const auto schema = runCommand("mdb-schema " + quoted(path));
  EXPECT_EQ(schema.status, 0) << schema.output;
  const auto objects = jetwrite_test::mdbExport(path, "MSysObjects");
  EXPECT_NE(objects.output.find("251658241,251658240,\"Tables\",3,"), std::string::npos) << objects.output;
  EXPECT_NE(objects.output.find("2,251658241,\"MSysObjects\",1,"), std::string::npos) << objects.output;
  if (!jetwrite_test::haveMdbReader()) SKIP_WITHOUT_ORACLE("mdb-reader is not installed");
  const auto js = jetwrite_test::withMdbReader(
      path,
      "console.log(db.getTableNames({normalTables:true,systemTables:true}).sort().join(\",\"),"
      "db.getTable(\"MSysACEs\").getData().length > 0);");
  std::string joined;
  for (const auto& name : expected) joined += (joined.empty() ? "" : ",") + name;
  EXPECT_EQ(js.output, joined + " true\n");
}

// A table's indexes as its first definition page lists them: each real
// index's columns and flags in index-number order, then each logical
// index's name, the real index it uses and whether it is the primary key.
std::string indexLayout(const std::vector<std::uint8_t>& file, std::uint32_t tdefPage) {
  using jetwrite_test::le16;
  using jetwrite_test::le32;
  constexpr std::size_t kPage = 4096;
  const std::span<const std::uint8_t> page(file.data() + tdefPage * kPage, kPage);
  const std::size_t columns = le16(page, 45), logical = le32(page, 47), real = le32(page, 51);
  std::size_t at = 63 + real * 12 + columns * 25;
  for (std::size_t i = 0; i < columns; ++i) at += 2 + le16(page, at);
  std::string layout;
  for (std::size_t i = 0; i < real; ++i, at += 52) {
    layout += "real(";
    for (std::size_t slot = 0; slot < 10 && le16(page, at + 4 + 3 * slot) != 0xFFFF; ++slot)
      layout += std::to_string(le16(page, at + 4 + 3 * slot)) + " ";
    layout += "flags " + std::to_string(page[at + 46]) + ") ";
  }
  std::vector<std::string> uses;
  for (std::size_t i = 0; i < logical; ++i, at += 28)
    uses.push_back("->" + std::to_string(le32(page, at + 8)) + (page[at + 23] == 1 ? " key" : "") + ") ");
  for (std::size_t i = 0; i < logical; ++i) {
    const std::size_t length = le16(page, at);
    std::string name;
    for (std::size_t c = 0; c < length; c += 2) name += static_cast<char>(page[at + 2 + c]);
    layout += "logical(" + name + uses[i];
    at += 2 + length;
  }
  return layout;
}

// Jet may find its own catalog's indexes by number, so a new file numbers
// and lists them exactly as Access does.
TEST_P(NewDatabase, SystemTableIndexesAsAccessLaysThemOut) {
  jetwrite_test::TempDir dir;
  const std::string path = dir.file(GetParam().file);
  createDatabase(path, GetParam().format);
  const std::string accessPath = jetwrite_test::fixturePath(GetParam().accessMade);
  auto ours = Database::open(path, "");
  auto access = Database::open(accessPath, "");
  const auto ourBytes = jetwrite_test::readFile(path);
  const auto accessBytes = jetwrite_test::readFile(accessPath);
  for (const std::string& table : tableNames(*ours)) {
    EXPECT_EQ(indexLayout(ourBytes, ours->table(table).def().page),
              indexLayout(accessBytes, access->table(table).def().page))
        << table;
  }
}

TEST_P(NewDatabase, TablesComeAndGoAndReadBackEverywhere) {
  jetwrite_test::TempDir dir;
  const std::string path = dir.file(GetParam().file);
  createDatabase(path, GetParam().format);
  const std::string create =
      "CREATE TABLE `Order Lines`(`id` COUNTER,`name` VARCHAR,`qty` SMALLINT,`small` BYTE,`n` INT,"
      "`price` CURRENCY,`ratio` REAL,`weight` FLOAT,`when` DATETIME,`paid` BIT,`amount` DECIMAL(12,2),"
      "`notes` MEMO,`photo` OLEOBJECT,`raw` BINARY(8),`key` GUID);";
  const std::string insert =
      "INSERT INTO `Order Lines` VALUES(NULL, 'Zoë', '12', '255', '-7', '1234.5678', '0.5', '-3.25', "
      "'2024-03-01 12:00:00', 'True', '-12.345', '" +
      std::string(5000, 'm') +
      "', 'ab', 'xy', "
      "'{00112233-4455-6677-8899-AABBCCDDEEFF}')";
  {
    DatabaseWriter writer(path, "");
    run(writer, create);
    run(writer, insert);
    run(writer,
        "INSERT INTO `Order Lines` VALUES(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
        "'False', NULL, NULL, NULL, NULL, NULL)");
    run(writer, "DROP TABLE `Order Lines`");
    run(writer, create);
    run(writer, insert);
  }
  auto db = Database::open(path, "");
  const Table t = db->table("Order Lines");
  ASSERT_EQ(t.countRows(), 1u);
  RowCursor rows = t.rows();
  std::vector<Value> row;
  ASSERT_TRUE(rows.next(row));
  EXPECT_EQ(row[0], Value(std::int32_t{1}));
  EXPECT_EQ(row[1], Value(std::string("Zoë")));
  EXPECT_EQ(row[5], Value(Currency{12345678}));
  EXPECT_EQ(row[8], Value(DateTime{45352.5}));
  EXPECT_EQ(row[9], Value(true));
  EXPECT_EQ(row[11], Value(std::string(5000, 'm')));
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");

  const auto user = runCommand("mdb-tables -1 " + quoted(path));
  EXPECT_EQ(user.output, "Order Lines\n");
  const auto schema = runCommand("mdb-schema " + quoted(path) + " -T 'Order Lines'");
  EXPECT_NE(schema.output.find("[price]\t\t\tCurrency"), std::string::npos) << schema.output;
  const auto exported = jetwrite_test::mdbExport(path, "Order Lines");
  EXPECT_EQ(exported.output.substr(0, 48), "1,\"Zoë\",12,255,-7,1234.5678,0.5,-3.25,\"03/01/24")
      << exported.output.substr(0, 80);
  if (!jetwrite_test::haveMdbReader()) SKIP_WITHOUT_ORACLE("mdb-reader is not installed");
  const auto js = jetwrite_test::withMdbReader(
      path,
      "const r=db.getTable(\"Order Lines\").getData();"
      "const v=r[0];console.log(r.length, v.id, v.name, v.qty, v.small, v.n, v.price, v.ratio, v.weight,"
      "v.when.toISOString(), v.paid, v.amount, v.notes.length, v.photo.toString(\"hex\"), "
      "v.raw.toString(\"hex\"), v.key);");
  EXPECT_EQ(
      js.output,
      "1 1 Zoë 12 255 -7 1234.5678 0.5 -3.25 2024-03-01T12:00:00.000Z true -12.34 5000 61006200 78007900 "
      "00112233-4455-6677-8899-aabbccddeeff\n");
}

INSTANTIATE_TEST_SUITE_P(
    Formats, NewDatabase,
    ::testing::Values(Case{NewFormat::Jet4, "new.mdb", Version::Jet4, 0, "jet4/empty2003.mdb"},
                      Case{NewFormat::Ace12, "new2007.accdb", Version::Ace12, 0, "ace12/empty2007.accdb"},
                      Case{NewFormat::Ace14, "new2010.accdb", Version::Ace14, 1, "ace14/empty2010.accdb"},
                      Case{NewFormat::Ace16, "new2016.accdb", Version::Ace16, 1, "ace16/empty2016.accdb"}));

TEST(NewDatabasePassword, DemandedByOurReaderAndByTheWriter) {
  jetwrite_test::TempDir dir;
  for (const auto format : {NewFormat::Jet4, NewFormat::Ace14}) {
    const std::string path = dir.file(format == NewFormat::Jet4 ? "locked.mdb" : "locked.accdb");
    createDatabase(path, format, "Geheim ß");
    // Jet4 keeps the header password; an ACE file is encrypted instead.
    const Header header = Database::open(path, "Geheim ß")->header();
    EXPECT_EQ(header.password, format == NewFormat::Jet4 ? "Geheim ß" : "");
    EXPECT_EQ(header.officeEncryption,
              format == NewFormat::Jet4 ? OfficeEncryption::None : OfficeEncryption::Agile);
    try {
      Database::open(path, "geheim");
      FAIL() << "a wrong password opened the file";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), errc::kInvalidPassword);
    }
    EXPECT_THROW(DatabaseWriter(path, ""), Error);
    DatabaseWriter writer(path, "Geheim ß");
    run(writer, "CREATE TABLE `t`(`a` INT)");
  }
}

TEST(NewDatabaseRefusals, ExistingFilesAndOverlongPasswords) {
  jetwrite_test::TempDir dir;
  const std::string path = dir.file("taken.mdb");
  createDatabase(path, NewFormat::Jet4);
  const auto size = std::filesystem::file_size(path);
  EXPECT_THROW(createDatabase(path, NewFormat::Ace16), Error);
  EXPECT_EQ(std::filesystem::file_size(path), size);
  EXPECT_EQ(Database::open(path, "")->header().version, Version::Jet4);

  const std::string other = dir.file("other.mdb");
  EXPECT_THROW(createDatabase(other, NewFormat::Jet4, std::string(21, 'p')), Error);
  EXPECT_FALSE(std::filesystem::exists(other));
  createDatabase(other, NewFormat::Jet4, std::string(20, 'p'));
  EXPECT_EQ(Database::open(other, std::string(20, 'p'))->header().password, std::string(20, 'p'));

  EXPECT_THROW(createDatabase(dir.file("no such folder/new.mdb"), NewFormat::Jet4), Error);
  // Neither the refusals nor the creations left drafts or journals behind.
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
    left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"other.mdb", "taken.mdb"}));
}

}  // namespace
}  // namespace jet::write
