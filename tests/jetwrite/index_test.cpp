// Index keys and index upkeep, checked against indexes Access built and
// against the rows after inserts that split pages.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "fixture_pages.h"
#include "index_audit.h"
#include "indexed_table.h"
#include "jet/database/database_writer.h"
#include "jet/error.h"
#include "oracles.h"
#include "scratch_copy.h"
#include "temp_dir.h"

namespace jet::write {
namespace {

using jetwrite_test::copyFixture;
using jetwrite_test::null;
using jetwrite_test::text;
using sql::Literal;

Literal number(std::string n) {
  return {Literal::Kind::Number, std::move(n)};
}

// One index per column, over every type whose key the engine builds
// besides Text (whose keys text_key_test covers).
std::vector<jetwrite_test::IndexedColumn> everyKeyType(bool ascending) {
  const auto c = [&](const char* name, ColumnType type, std::uint16_t size = 0, std::uint8_t precision = 0,
                     std::uint8_t scale = 0) {
    return jetwrite_test::IndexedColumn{{name, type, size, precision, scale}, ascending};
  };
  return {c("byt", ColumnType::Byte),       c("int", ColumnType::Int16),
          c("lng", ColumnType::Int32),      c("cur", ColumnType::Currency),
          c("sng", ColumnType::Single),     c("dbl", ColumnType::Double),
          c("dat", ColumnType::DateTime),   c("gid", ColumnType::Guid),
          c("bin", ColumnType::Binary, 12), c("dec", ColumnType::Numeric, 0, 12, 2),
          c("yn", ColumnType::Boolean)};
}

// A fixed-point number: `scaled` / 10^decimals.
std::string fixedPoint(long long scaled, int decimals) {
  const unsigned long long magnitude = scaled < 0 ? 0ull - static_cast<unsigned long long>(scaled) : scaled;
  unsigned long long unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  const std::string whole = (scaled < 0 ? "-" : "") + std::to_string(magnitude / unit);
  if (decimals == 0) return whole;
  std::string fraction = std::to_string(magnitude % unit);
  fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  return whole + "." + fraction;
}

std::string guidText(std::mt19937_64& random) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "{%08llX-%04llX-%04llX-%04llX-%012llX}",
                static_cast<unsigned long long>(random() & 0xFFFFFFFF),
                static_cast<unsigned long long>(random() & 0xFFFF),
                static_cast<unsigned long long>(random() & 0xFFFF),
                static_cast<unsigned long long>(random() & 0xFFFF),
                static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFF));
  return buffer;
}

// Values of everyKeyType's columns: negatives, zero, small fractions,
// binary values up to 12 bytes, and about one null in eight.
std::vector<Literal> randomRow(std::mt19937_64& random) {
  const auto between = [&](long long low, long long high) {
    return std::uniform_int_distribution<long long>(low, high)(random);
  };
  const auto maybe = [&](Literal l) { return random() % 8 == 0 ? null() : l; };
  const long long zeroOften = random() % 10 == 0 ? 0 : 1;
  std::string bytes(static_cast<std::size_t>(between(0, 6)), 'a');
  for (char& ch : bytes) ch = static_cast<char>('a' + random() % 3);
  return {maybe(number(std::to_string(between(0, 255)))),
          maybe(number(std::to_string(between(-32768, 32767)))),
          maybe(number(std::to_string(zeroOften * between(-2000000000, 2000000000)))),
          maybe(number(fixedPoint(zeroOften * between(-999999999999999, 999999999999999), 4))),
          maybe(number(fixedPoint(between(-999999999, 999999999), between(0, 8)))),
          maybe(number(fixedPoint(zeroOften * between(-999999999999999, 999999999999999), between(0, 12)))),
          maybe(number(fixedPoint(between(-600000000000, 2900000000000), 6))),
          maybe(text(guidText(random))),
          maybe(text(bytes)),
          maybe(number(fixedPoint(zeroOften * between(-999999999999, 999999999999), 2))),
          text(random() % 2 ? "Yes" : "No")};
}

// Jet4 keys descending NUMERIC values with the ascending sign byte:
// negative values first, smallest magnitude first, then the others
// (nulls last) descending.
bool inJet4DescendingNumericOrder(const std::vector<Value>& values) {
  const auto firstOther = std::find_if(values.begin(), values.end(), [](const Value& v) {
    const auto* n = std::get_if<Numeric>(&v);
    return n == nullptr || !n->negative;
  });
  const std::vector<Value> negatives(values.begin(), firstOther), others(firstOther, values.end());
  return std::is_sorted(negatives.rbegin(), negatives.rend(), jetwrite_test::sortsBefore) &&
         jetwrite_test::inDescendingOrder(others);
}

TEST(IndexKeys, MatchTheIndexesAccessBuilt) {
  // A compound index (Long + two Texts) over 512 rows, on a node and leaves.
  const auto compound =
      jetwrite_test::auditIndex(jetwrite_test::fixturePath("jet4/compIndexTestV2000.mdb"), "Table1", 0);
  EXPECT_EQ(compound.entries, 512u);
  EXPECT_TRUE(compound.sound()) << compound.report();
  EXPECT_EQ(compound.depth, 2u);
  // An AutoNumber primary key next to non-ASCII text.
  const auto unicode =
      jetwrite_test::auditIndex(jetwrite_test::fixturePath("jet4/testUnicodeCompV2003.mdb"), "Table", 0);
  EXPECT_EQ(unicode.entries, 8u);
  EXPECT_TRUE(unicode.sound()) << unicode.report();
  // Binary keys in 8-byte segments, ascending and descending.
  for (std::size_t which : {0u, 1u}) {
    const auto binary =
        jetwrite_test::auditIndex(jetwrite_test::fixturePath("ace14/binIdxTestV2010.accdb"), "Test", which);
    EXPECT_EQ(binary.entries, 105u) << which;
    EXPECT_TRUE(binary.sound()) << which << "\n" << binary.report();
  }
}

// The key forms of the types no Access-made fixture indexes, byte for byte:
// flag 0x7F (descending 0x80) before a value, 0x00 (0xFF) for null.
TEST(IndexKeys, TakeJetsByteForms) {
  const auto key = [](ColumnType type, const convert::Value& v, bool ascending, bool jet4 = false) {
    ColumnDef c;
    c.name = "c";
    c.typeCode = static_cast<std::uint8_t>(type);
    Entry e;
    appendColumnKey(e, c, v, ascending, KeyForms{nullptr, jet4});
    return e;
  };
  using B = Entry;
  EXPECT_EQ(key(ColumnType::Boolean, true, true), (B{0x7F, 0x00}));
  EXPECT_EQ(key(ColumnType::Boolean, std::monostate{}, true), (B{0x7F, 0xFF}));  // unset is No
  EXPECT_EQ(key(ColumnType::Boolean, true, false), (B{0x80, 0xFF}));
  EXPECT_EQ(key(ColumnType::Byte, std::uint8_t{5}, false), (B{0x80, 0xFA}));
  EXPECT_EQ(key(ColumnType::Currency, Currency{15000}, true), (B{0x7F, 0x80, 0, 0, 0, 0, 0, 0x3A, 0x98}));
  EXPECT_EQ(key(ColumnType::Single, -1.0f, true), (B{0x7F, 0x40, 0x7F, 0xFF, 0xFF}));
  EXPECT_EQ(key(ColumnType::Single, 1.0f, false), (B{0x80, 0x40, 0x7F, 0xFF, 0xFF}));
  EXPECT_EQ(key(ColumnType::Int32, std::monostate{}, false), (B{0xFF}));

  // NUMERIC -1.00 (magnitude 100): sign byte, then 16 magnitude bytes.
  const Numeric minusOne{true, 10, 2, 100};
  B ascending{0x7F, 0x00};
  ascending.insert(ascending.end(), 15, 0xFF);
  ascending.push_back(0x9B);
  EXPECT_EQ(key(ColumnType::Numeric, minusOne, true), ascending);
  B corrected{0x80, 0xFF};
  corrected.insert(corrected.end(), 15, 0x00);
  corrected.push_back(0x64);
  EXPECT_EQ(key(ColumnType::Numeric, minusOne, false), corrected);
  B jet4 = corrected;
  jet4[1] = 0x00;  // Jet4 keeps the ascending sign byte
  EXPECT_EQ(key(ColumnType::Numeric, minusOne, false, true), jet4);

  // {6F9619FF-8B86-D011-B42D-00C04FC964FF}: text order, 8-byte segments.
  const Guid guid{0xFF, 0x19, 0x96, 0x6F, 0x86, 0x8B, 0x11, 0xD0,
                  0xB4, 0x2D, 0x00, 0xC0, 0x4F, 0xC9, 0x64, 0xFF};
  EXPECT_EQ(key(ColumnType::Guid, guid, true), (B{0x7F, 0x6F, 0x96, 0x19, 0xFF, 0x8B, 0x86, 0xD0, 0x11, 0x09,
                                                  0xB4, 0x2D, 0x00, 0xC0, 0x4F, 0xC9, 0x64, 0xFF, 0x08}));
  EXPECT_EQ(key(ColumnType::Guid, guid, false), (B{0x80, 0x90, 0x69, 0xE6, 0x00, 0x74, 0x79, 0x2F, 0xEE, 0x09,
                                                   0x4B, 0xD2, 0xFF, 0x3F, 0xB0, 0x36, 0x9B, 0x00, 0xF7}));
  EXPECT_EQ(key(ColumnType::Binary, std::vector<std::uint8_t>{0xAB}, true),
            (B{0x7F, 0xAB, 0, 0, 0, 0, 0, 0, 0, 0x01}));
  EXPECT_EQ(key(ColumnType::Binary, std::vector<std::uint8_t>{}, false), (B{0x80}));
}

TEST(IndexUpkeep, InsertsSplitLeavesAndKeepEveryIndexRight) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/testUnicodeCompV2003.mdb");
  {
    DatabaseWriter writer(path, "");
    for (int i = 0; i < 1500; ++i) writer.insert("Table", {null(), text("row " + std::to_string(i))});
  }
  const auto audit = jetwrite_test::auditIndex(path, "Table", 0);
  EXPECT_EQ(audit.entries, 1508u);
  EXPECT_TRUE(audit.sound()) << audit.report();
  EXPECT_GE(audit.depth, 2u);
  const auto count = jetwrite_test::runCommand("mdb-count " + jetwrite_test::quoted(path) + " Table");
  EXPECT_EQ(count.output, "1508\n");
  const auto exported = jetwrite_test::mdbExport(path, "Table");
  EXPECT_NE(exported.output.find("1508,\"row 1499\""), std::string::npos);
}

TEST(IndexUpkeep, TextIndexesAndDuplicateKeys) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/indexTestV2003.mdb");
  DatabaseWriter writer(path, "");
  for (int i = 0; i < 400; ++i)
    writer.insert("Table2", {text(std::to_string(100 + i)), text("Grüße " + std::to_string(i % 37))});
  try {
    writer.insert("Table2", {text("100"), text("again")});
    FAIL() << "a duplicate primary key was taken";
  } catch (const Error& e) {
    EXPECT_NE(e.description().find("duplicate values"), std::string::npos);
  }
  for (std::size_t which = 0; which < 2; ++which) {
    const auto audit = jetwrite_test::auditIndex(path, "Table2", which);
    EXPECT_EQ(audit.entries, 403u) << which;
    EXPECT_TRUE(audit.sound()) << which << audit.report();
  }
}

TEST(IndexUpkeep, AccessMadeAceTablesInBothSortOrders) {
  // ACE12 with General legacy keys, ACE14 with the 2010 General keys.
  for (const char* fixture : {"ace12/testV2007.accdb", "ace14/testV2010.accdb"}) {
    jetwrite_test::TempDir dir;
    const std::string path = copyFixture(dir, fixture);
    {
      DatabaseWriter writer(path, "");
      for (int i = 0; i < 300; ++i) writer.insert("Table3", {null(), text("Zeile Nr. " + std::to_string(i))});
    }
    auto db = Database::open(path, "");
    const Table t = db->table("Table3");
    ASSERT_EQ(t.def().realIndexes, 2u) << fixture;  // the AutoNumber key and the text column
    for (std::size_t which = 0; which < t.def().realIndexes; ++which) {
      const auto audit = jetwrite_test::auditIndex(path, "Table3", which);
      EXPECT_TRUE(audit.sound()) << fixture << " " << which << audit.report();
    }
    const auto count = jetwrite_test::runCommand("mdb-count " + jetwrite_test::quoted(path) + " Table3");
    EXPECT_EQ(count.output, std::to_string(t.countRows()) + "\n");
  }
}

TEST(IndexUpkeep, BinaryIndexesAccessMadeTakeNewRowsInOrder) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "ace14/binIdxTestV2010.accdb");
  std::mt19937 random(7);
  {
    DatabaseWriter writer(path, "");
    for (int i = 0; i < 300; ++i) {
      // 0 to 19 characters: 0 to 38 bytes, across segment boundaries.
      std::string up(random() % 20, 'a'), down(random() % 20, 'a');
      for (char& c : up) c = static_cast<char>('a' + random() % 3);
      for (char& c : down) c = static_cast<char>('a' + random() % 3);
      writer.insert("Test", {number(std::to_string(1000 + i)), i % 17 ? text(up) : null(),
                             i % 13 ? text(down) : null()});
    }
  }
  for (std::size_t which : {0u, 1u}) {
    const auto audit = jetwrite_test::auditIndex(path, "Test", which);
    EXPECT_EQ(audit.entries, 405u) << which;
    EXPECT_TRUE(audit.sound()) << which << audit.report();
  }
  const auto up = jetwrite_test::valuesInIndexOrder(path, "Test", 0);
  EXPECT_TRUE(jetwrite_test::inAscendingOrder(up));
  const auto down = jetwrite_test::valuesInIndexOrder(path, "Test", 1);
  EXPECT_TRUE(jetwrite_test::inDescendingOrder(down));
  EXPECT_EQ(jetwrite_test::runCommand("mdb-count " + jetwrite_test::quoted(path) + " Test").output, "405\n");
  if (!jetwrite_test::haveMdbReader()) SKIP_WITHOUT_ORACLE("mdb-reader is not installed");
  const auto js = jetwrite_test::withMdbReader(path, "console.log(db.getTable(\"Test\").getData().length);");
  EXPECT_EQ(js.output, "405\n");
}

TEST(IndexUpkeep, KeysOfEveryTypeKeepValueOrderBothWays) {
  // Jet4 with its descending NUMERIC order, ACE with the corrected one.
  for (const char* fixture : {"jet4/empty2003.mdb", "ace14/empty2010.accdb"}) {
    jetwrite_test::TempDir dir;
    const std::string path = copyFixture(dir, fixture);
    jetwrite_test::addIndexedTable(path, "Up", everyKeyType(true));
    jetwrite_test::addIndexedTable(path, "Down", everyKeyType(false));
    std::mt19937_64 random(42);
    {
      DatabaseWriter writer(path, "");
      for (int i = 0; i < 700; ++i) {
        const auto row = randomRow(random);
        writer.insert("Up", row);
        writer.insert("Down", row);
      }
    }
    const bool jet4 = std::string(fixture).starts_with("jet4");
    const auto columns = everyKeyType(true);
    for (const char* table : {"Up", "Down"}) {
      for (std::size_t which = 0; which < columns.size(); ++which) {
        const std::string what = std::string(fixture) + " " + table + " " + columns[which].column.name;
        const auto audit = jetwrite_test::auditIndex(path, table, which);
        EXPECT_EQ(audit.entries, 700u) << what;
        EXPECT_TRUE(audit.sound()) << what << audit.report();
        EXPECT_GE(audit.depth, 2u) << what;
        const auto values = jetwrite_test::valuesInIndexOrder(path, table, which);
        if (std::string(table) == "Up")
          EXPECT_TRUE(jetwrite_test::inAscendingOrder(values)) << what;
        else if (jet4 && columns[which].column.type == ColumnType::Numeric)
          EXPECT_TRUE(inJet4DescendingNumericOrder(values)) << what;
        else
          EXPECT_TRUE(jetwrite_test::inDescendingOrder(values)) << what;
      }
      EXPECT_EQ(jetwrite_test::runCommand("mdb-count " + jetwrite_test::quoted(path) + " " + table).output,
                "700\n");
      if (jetwrite_test::haveMdbReader()) {
        const auto js = jetwrite_test::withMdbReader(
            path, "console.log(db.getTable(\"" + std::string(table) + "\").getData().length);");
        EXPECT_EQ(js.output, "700\n") << fixture << " " << table;
      }
    }
  }
  if (!jetwrite_test::haveMdbReader())
    SKIP_WITHOUT_ORACLE("mdb-reader is not installed; it read none of the files");
}

TEST(IndexUpkeep, UniqueRequiredAndNullIgnoringIndexesOverNewTypes) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "ace12/empty2007.accdb");
  const auto column = [](const char* name, ColumnType type, std::uint16_t size = 0) {
    return NewColumn{name, type, size};
  };
  jetwrite_test::addIndexedTable(path, "Keys",
                                 {{column("gid", ColumnType::Guid), true, 0x89, true},
                                  {column("cur", ColumnType::Currency), true, 0x81},
                                  {column("bin", ColumnType::Binary, 20), false, 0x81},
                                  {column("sng", ColumnType::Single), true, 0x82}});
  const std::string g1 = "{6F9619FF-8B86-D011-B42D-00C04FC964FF}";
  DatabaseWriter writer(path, "");
  writer.insert("Keys", {text(g1), number("1.5"), text("a"), null()});
  writer.insert("Keys", {text("{00000000-0000-0000-0000-000000000001}"), null(), null(), number("2")});
  // A unique index takes any number of rows whose key is null.
  writer.insert("Keys", {text("{00000000-0000-0000-0000-000000000002}"), null(), null(), null()});
  const auto refused = [&](std::vector<Literal> values, const std::string& message) {
    try {
      writer.insert("Keys", std::move(values));
      ADD_FAILURE() << "taken: " << message;
    } catch (const Error& e) {
      EXPECT_NE(e.description().find(message), std::string::npos) << e.description();
    }
  };
  refused({text("{00000000-0000-0000-0000-000000000003}"), number("1.50"), null(), null()},
          "duplicate values");
  refused({text("{6f9619ff-8b86-d011-b42d-00c04fc964ff}"), null(), null(), null()}, "duplicate values");
  refused({text("{00000000-0000-0000-0000-000000000004}"), null(), text("a"), null()}, "duplicate values");
  refused({null(), number("7"), null(), null()}, "Index or primary key cannot contain a Null value.");

  EXPECT_EQ(Database::open(path, "")->table("Keys").countRows(), 3u);
  for (std::size_t which = 0; which < 4; ++which) {
    const auto audit = jetwrite_test::auditIndex(path, "Keys", which);
    EXPECT_TRUE(audit.sound()) << which << audit.report();
  }
  // The index that ignores nulls holds the one row with a value.
  EXPECT_EQ(jetwrite_test::auditIndex(path, "Keys", 3).entries, 1u);
}

TEST(IndexUpkeep, RefusesRowsForAnIndexOverLongValues) {
  jetwrite_test::TempDir dir;
  const std::string path = copyFixture(dir, "jet4/empty2003.mdb");
  jetwrite_test::addIndexedTable(path, "Notes", {{{"note", ColumnType::Memo}}});
  const auto before = jetwrite_test::readFile(path);
  DatabaseWriter writer(path, "");
  try {
    writer.insert("Notes", {text("a note")});
    FAIL() << "a row went into a table whose index cannot key it";
  } catch (const Error& e) {
    EXPECT_NE(e.description().find("whose key form this engine does not know"), std::string::npos)
        << e.description();
  }
  EXPECT_EQ(jetwrite_test::readFile(path), before);
}

}  // namespace
}  // namespace jet::write
