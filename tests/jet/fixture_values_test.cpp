// Values the engine must read from real Access files, with the facts taken
// from the fixtures' documentation: old dates, long values over several
// pages, calculated and complex columns, deleted columns, moved rows,
// compressed and non-BMP text, and the catalog.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "fixtures.h"
#include "jet/row/value_decoder.h"

namespace jet {
namespace {

using testing::fixture;
using testing::readTable;

std::shared_ptr<Database> open(const std::string& relative) {
  return Database::open(fixture(relative), "");
}

std::size_t codePoints(const std::string& utf8) {
  std::size_t n = 0;
  for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

std::size_t columnIndex(const Table& table, const std::string& name) {
  for (std::size_t i = 0; i < table.columns().size(); ++i) {
    if (table.columns()[i].name == name) return i;
  }
  ADD_FAILURE() << "no column " << name;
  return 0;
}

TEST(FixtureValues, DatesBefore1899HaveNegativeDayNumbers) {
  auto db = open("ace12/oldDatesV2007.accdb");
  const auto rows = readTable(*db, "Table1");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(std::get<DateTime>(rows[0][1]).days, -115858.0);  // 1582-10-15
  EXPECT_EQ(std::get<DateTime>(rows[1][1]).days, -115859.0);  // 1582-10-14
  EXPECT_EQ(std::get<DateTime>(rows[3][1]).days, -185532.0);  // 1392-01-10
}

TEST(FixtureValues, LongValuesSpanningPages) {
  auto text = readTable(*open("ace12/longtext.accdb"), "Table1");
  ASSERT_EQ(text.size(), 1u);
  EXPECT_EQ(codePoints(std::get<std::string>(text[0][1])), 5000u);

  auto db = open("ace12/blobOleLazyLoading.accdb");
  for (const auto& e : db->catalog()) {
    if (e.objectType() != ObjectType::Table || e.flags != 0) continue;
    const auto rows = readTable(*db, e.name);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(std::get<Bytes>(rows[0][1]).size(), 33245u);
  }
}

TEST(FixtureValues, CalculatedColumnsGiveTheirResults) {
  auto db = open("ace14/calcFieldTestV2010.accdb");
  const Table table = db->table("Table1");
  EXPECT_EQ(table.def().storedRowCount, 3u);  // the stored count is stale...
  EXPECT_EQ(table.countRows(), 4u);           // ...the rows are there
  const auto rows = readTable(*db, "Table1");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(std::get<std::string>(rows[0][columnIndex(table, "LastFirst")]), "Wayne, Bruce");
  EXPECT_EQ(std::get<std::int32_t>(rows[0][columnIndex(table, "LastFirstLen")]), 12);
  // Results follow the ResultType property, not the column's own type.
  EXPECT_EQ(table.columns()[columnIndex(table, "IsRich")].type(), ColumnType::Int16);
  EXPECT_EQ(std::get<bool>(rows[0][columnIndex(table, "IsRich")]), true);
  EXPECT_EQ(std::get<bool>(rows[1][columnIndex(table, "IsRich")]), false);
  EXPECT_EQ(std::get<Currency>(rows[0][columnIndex(table, "MonthlySalary")]).scaled,
            833333333);  // in a Double column
  const auto weekly = std::get<Numeric>(rows[0][columnIndex(table, "WeeklySalary")]);
  EXPECT_EQ(weekly.magnitude, 192307692307692u);
  EXPECT_EQ(weekly.scale, 10);
  EXPECT_FLOAT_EQ(std::get<float>(rows[0][columnIndex(table, "FloatTest")]), 2583.2092f);
  const auto decimal = std::get<Numeric>(rows[0][columnIndex(table, "DecimalTest")]);
  EXPECT_EQ(decimal.magnitude, 50325000u);
  EXPECT_EQ(decimal.scale, 6);
  EXPECT_TRUE(std::get<Numeric>(rows[1][columnIndex(table, "DecimalTest")]).negative);
  EXPECT_EQ(std::get<std::string>(rows[2][columnIndex(table, "AllNames")]), "Doe, John=Doe, John");
}

TEST(FixtureValues, EmptyCalculatedResultIsNull) {
  auto db = open("ace17/extDateTestV2019.accdb");
  const Table table = db->table("Table1");
  const auto rows = readTable(*db, "Table1");
  const auto calc = columnIndex(table, "DateNormalCalc");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(rows[4][calc]));
  EXPECT_EQ(std::get<DateTime>(rows[0][calc]).days, 43999.0);  // 2020-06-17
}

TEST(FixtureValues, CalculatedTextWithoutCharactersIsEmptyText) {
  // A row marked present whose stored result has no characters: the
  // expression gave "", which is not NULL.
  auto db = open("ace14/calcFieldTestV2010.accdb");
  const Table table = db->table("Table1");
  const ColumnDef& lastFirst = table.columns()[columnIndex(table, "LastFirst")];
  ASSERT_TRUE(lastFirst.calculated());
  ASSERT_EQ(lastFirst.valueType(), ColumnType::Text);
  const std::vector<std::uint8_t> noCharacters(kCalculatedDataOffset, 0);  // result length 0
  ValueDecoder decoder(db->pager(), db->header());
  Value value;
  decoder.decode(lastFirst, FieldSlice{false, false, noCharacters}, value);
  EXPECT_EQ(value, Value(std::string()));
  decoder.decode(lastFirst, FieldSlice{}, value);
  EXPECT_EQ(value, Value(std::monostate{}));
}

TEST(FixtureValues, DateTimeExtendedReadsAsText) {
  auto db = open("ace17/extDateTestV2019.accdb");
  const Table table = db->table("Table1");
  EXPECT_EQ(table.columns()[columnIndex(table, "DateExt")].type(), ColumnType::ExtDateTime);
  const auto rows = readTable(*db, "Table1");
  const auto ext = columnIndex(table, "DateExt");
  EXPECT_EQ(std::get<std::string>(rows[0][ext]), "2020-06-17 00:00:00");
  EXPECT_EQ(std::get<std::string>(rows[5][ext]), "2021-06-14 22:45:12.3456789");
  EXPECT_EQ(std::get<std::string>(rows[7][ext]), "0100-06-14 12:45:00.1234567");
}

TEST(FixtureValues, BigIntAndNumeric) {
  EXPECT_EQ(std::get<std::int64_t>(readTable(*open("ace16/bigint.accdb"), "Table")[0][1]), 42);
  auto db = open("jet4/fixedNumericTestV2003.mdb");
  const Table table = db->table("test");
  EXPECT_EQ(table.columns()[1].type(), ColumnType::Numeric);
  const auto rows = readTable(*db, "test");
  const auto minusOne = std::get<Numeric>(rows[0][5]);
  EXPECT_TRUE(minusOne.negative);
  EXPECT_EQ(minusOne.magnitude, std::pow(10, minusOne.scale));
}

TEST(FixtureValues, ComplexColumnsGiveTheirKeys) {
  auto db = open("ace12/attachments.accdb");
  const Table table = db->table("Table1");
  EXPECT_EQ(table.columns()[2].type(), ColumnType::Complex);
  const auto rows = readTable(*db, "Table1");
  ASSERT_EQ(rows.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(std::get<std::int32_t>(rows[static_cast<std::size_t>(i)][2]), i + 1);
}

TEST(FixtureValues, DeletedColumnsLeaveGapsInColumnNumbers) {
  auto db = open("jet4/delColTestV2000.mdb");
  const Table table = db->table("Table1");
  ASSERT_EQ(table.columns().size(), 4u);
  EXPECT_EQ(table.columns()[1].name, "id2");
  EXPECT_EQ(table.columns()[1].number, 2);
  EXPECT_GT(table.def().maxColumns, table.columns().size());
  const auto rows = readTable(*db, "Table1");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(std::get<std::string>(rows[1][3]), "bar2");
}

TEST(FixtureValues, MovedRowsAreReadWhereTheyWereStored) {
  const auto rows = readTable(*open("jet3/overflowTestV1997.mdb"), "Table1");
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(std::get<std::string>(rows[2][7]), "row3col9");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(rows[2][0]));
  EXPECT_EQ(std::get<std::string>(rows[6][5]), "row7col7");

  // Rooms 6002 and 6020 moved to a later page; their pointers sit first.
  const auto rooms = readTable(*open("jet3/activemdb_sample.mdb"), "Room");
  ASSERT_EQ(rooms.size(), 92u);
  EXPECT_EQ(std::get<std::string>(rooms[0][1]), "6002");
}

TEST(FixtureValues, LongJet3RowsUseTheJumpTable) {
  auto db = open("jet3/test2V1997.mdb");
  const Table table = db->table("MSP_PROJECTS");
  EXPECT_EQ(table.columns().size(), 74u);  // the definition spans two pages
  const auto rows = readTable(*db, "MSP_PROJECTS");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(std::get<std::string>(rows[0][columnIndex(table, "PROJ_DATA_SOURCE")]), "Z:\\temp\\Project1.mpd");
}

TEST(FixtureValues, UnicodeTextCompressedOrNot) {
  const auto rows = readTable(*open("jet4/testUnicodeCompV2003.mdb"), "Table");
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(std::get<std::string>(rows[2][1]), "\xD0\x9C\xD0\xB8\xD1\x80");  // Мир
  EXPECT_EQ(std::get<std::string>(rows[4][1]), "漢字仮名交じり文");

  const auto emoji = readTable(*open("ace14/testEmoticonsV2010.accdb"), "data");
  ASSERT_EQ(emoji.size(), 80u);
  EXPECT_EQ(std::get<std::string>(emoji[0][1]),
            "a\xF0\x9F\x98\x80"
            "a");  // a😀a
}

TEST(FixtureValues, Jet3TextFollowsTheHeaderCodePage) {
  // charsetGBK.mdb holds GBK bytes but says 1252; the header is believed.
  auto db = open("jet3/charsetGBK.mdb");
  for (const auto& e : db->catalog()) {
    if (e.objectType() != ObjectType::Table || e.flags != 0) continue;
    EXPECT_EQ(std::get<std::string>(readTable(*db, e.name)[0][1]), "GBK\xC2\xB1\xC3\xA0\xC3\x82\xC3\xAB");
  }
}

TEST(Catalog, ListsTablesQueriesAndLinks) {
  auto sample = open("jet3/activemdb_sample.mdb");
  int queries = 0, userTables = 0;
  for (const auto& e : sample->catalog()) {
    queries += e.objectType() == ObjectType::Query;
    userTables += e.objectType() == ObjectType::Table && e.flags == 0;
  }
  EXPECT_EQ(queries, 2);
  EXPECT_EQ(userTables, 4);

  auto linked = open("jet4/linked.mdb");
  int links = 0;
  for (const auto& e : linked->catalog()) {
    if (e.objectType() != ObjectType::LinkedTable) continue;
    ++links;
    EXPECT_EQ(e.database, "C:\\db\\" + std::string(e.name == "Table1" ? "linkee1" : "linkee2") + ".mdb");
    EXPECT_EQ(e.foreignName, e.name);
  }
  EXPECT_EQ(links, 2);
}

TEST(Catalog, TablesAreFoundIgnoringLetterCase) {
  auto db = open("jet4/delColTestV2000.mdb");
  EXPECT_EQ(db->table("TABLE1").name(), "Table1");
  try {
    db->table("NoSuchTable");
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errc::kNoSuchTable);
  }
}

}  // namespace
}  // namespace jet

namespace jet {
namespace {

// Switches the working directory for one test and back.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& to) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(to);
  }
  ~WorkingDirectory() { std::filesystem::current_path(previous_); }
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

TEST(LinkedTables, AreReadFromTheLinkedFile) {
  auto db = Database::open(fixture("jet4/linked.mdb"), "");
  try {
    db->table("Table1");
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Could not find file 'C:\\db\\linkee1.mdb'.");
  }
  // On this system the Windows path is a plain relative file name.
  const auto dir = std::filesystem::temp_directory_path() / ("jet_link_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file(fixture("jet4/linkee1.mdb"), dir / "C:\\db\\linkee1.mdb",
                             std::filesystem::copy_options::overwrite_existing);
  {
    WorkingDirectory in(dir);
    const auto rows = testing::readTable(*db, "TABLE1");
    ASSERT_EQ(rows.size(), 1u);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace jet
