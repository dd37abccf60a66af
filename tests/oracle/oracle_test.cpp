// Reads every Access fixture with accessdb and with each independent
// reader (mdbtools, mdb-reader) and compares table lists, columns with
// their types, row counts and every value. Known faults of a reader are
// listed in expected_differences.cpp; each is checked to still hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

#include "access_reader.h"
#include "expected_differences.h"
#include "fixture_catalog.h"
#include "line_tool_reader.h"
#include "mdbtools_reader.h"
#include "oracle_required.h"
#include "process.h"
#include "value_projection.h"

namespace oracle {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtureRoot = FERROVALE_FIXTURE_DIR;
const fs::path kOracleDir = FERROVALE_ORACLE_DIR;
const std::string kAccessDb = FERROVALE_ACCESSDB;

struct Case {
  Fixture fixture;
  Oracle oracle;
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.fixture.name << " with " << oracleName(c.oracle);
}

// mdb-reader needs about 20 s for the 100,000 rows of each large benchmark
// file; mdbtools reads every column type those files hold, so they are
// compared with mdbtools alone.
bool worthReading(const Fixture& fixture, Oracle oracle) {
  return oracle != Oracle::MdbReader || !fixture.name.starts_with("large/");
}

std::vector<Case> allCases() {
  std::vector<Case> cases;
  for (const Fixture& fixture : findFixtures(kFixtureRoot)) {
    for (const Oracle oracle : {Oracle::MdbTools, Oracle::MdbReader}) {
      if (worthReading(fixture, oracle)) cases.push_back({fixture, oracle});
    }
  }
  return cases;
}

std::string caseName(const testing::TestParamInfo<Case>& info) {
  std::string name = info.param.fixture.name + "_" + oracleName(info.param.oracle);
  std::ranges::replace_if(
      name, [](unsigned char c) { return !std::isalnum(c); }, '_');
  return name;
}

Reader faultOf(Oracle oracle) {
  return oracle == Oracle::MdbTools ? MdbTools : MdbReader;
}

std::string readerNames(unsigned readers) {
  std::string names;
  for (const auto& [flag, name] :
       {std::pair{Engine, "accessdb"}, std::pair{MdbTools, "mdbtools"}, std::pair{MdbReader, "mdb-reader"}}) {
    if ((readers & flag) != 0) names += names.empty() ? name : std::string(" and ") + name;
  }
  return names;
}

std::optional<std::string> missingOracle(Oracle oracle) {
  if (oracle == Oracle::MdbTools) {
    if (!programAvailable("mdb-export")) {
      return "mdbtools is not installed (Debian package mdbtools; scripts/install-deps test)";
    }
  } else if (!programAvailable("node") || !fs::exists(kOracleDir / "node_modules/mdb-reader")) {
    return "mdb-reader is not installed (node and tests/oracle/install)";
  }
  return std::nullopt;
}

std::unique_ptr<AccessReader> engineReader(const Fixture& fixture) {
  return std::make_unique<LineToolReader>(
      std::vector<std::string>{kAccessDb}, fixture.path, fixture.password,
      std::set<TableKind>{TableKind::User, TableKind::System, TableKind::View, TableKind::Link,
                          TableKind::PassThrough});
}

std::unique_ptr<AccessReader> oracleReader(const Fixture& fixture, Oracle oracle) {
  if (oracle == Oracle::MdbTools) return std::make_unique<MdbToolsReader>(fixture.path);
  return std::make_unique<LineToolReader>(
      std::vector<std::string>{"node", (kOracleDir / "mdb-reader-dump.mjs").string()}, fixture.path,
      fixture.password, std::set<TableKind>{TableKind::User, TableKind::System, TableKind::Link});
}

std::string joined(const std::set<std::string>& names) {
  std::ostringstream text;
  for (const std::string& name : names) text << "[" << name << "] ";
  return text.str();
}

std::string joined(const std::vector<Column>& columns) {
  std::ostringstream text;
  for (const Column& column : columns) text << "[" << column.name << "] ";
  return text.str();
}

bool containsNoCase(std::string text, std::string_view word) {
  std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text.find(word) != std::string::npos;
}

class AgainstOracle : public testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    if (const auto missing = missingOracle(GetParam().oracle)) SKIP_WITHOUT_ORACLE(*missing);
    engine_ = engineReader(GetParam().fixture);
    oracle_ = oracleReader(GetParam().fixture, GetParam().oracle);
  }

  const std::string& fixtureName() const { return GetParam().fixture.name; }
  const char* oracleLabel() const { return oracleName(GetParam().oracle); }

  std::optional<ExpectedDifference> expected(Aspect aspect, std::string_view table = {},
                                             std::string_view column = {}) const {
    return expectedDifference(fixtureName(), faultOf(GetParam().oracle), aspect, table, column);
  }

  void note(const ExpectedDifference& entry) {
    std::string where(entry.table);
    if (!entry.column.empty()) where += "." + std::string(entry.column);
    const std::string text = readerNames(entry.readers) + " " + where + ": " + std::string(entry.reason);
    std::cout << "[ KNOWN    ] " << fixtureName() << " " << text << "\n";
    RecordProperty("known_difference_" + std::to_string(++notes_), text);
  }

  // Opens the file with both readers; false when there is nothing to
  // compare because one of them is known not to read it. Known failures
  // of both are checked, so that each entry is seen to hold.
  bool openBoth(TableListing& engineTables, TableListing& oracleTables) {
    engineTables = engine_->tables();
    oracleTables = oracle_->tables();
    const auto engineEntry = expectedDifference(fixtureName(), Engine, Aspect::File);
    if (engineEntry) {
      EXPECT_TRUE(engineTables.failure.has_value())
          << "accessdb now reads " << fixtureName() << "; drop its expected difference";
      EXPECT_TRUE(containsNoCase(engineTables.failure.value_or(""), "encrypt"))
          << "accessdb must say why it rejects the file, got: " << engineTables.failure.value_or("");
      note(*engineEntry);
    } else {
      EXPECT_FALSE(engineTables.failure.has_value())
          << "accessdb cannot read " << fixtureName() << ": " << *engineTables.failure;
    }
    const auto oracleEntry = expected(Aspect::File);
    if (oracleEntry) {
      EXPECT_TRUE(oracleTables.failure.has_value())
          << oracleLabel() << " now reads " << fixtureName() << "; drop its expected difference";
      note(*oracleEntry);
    } else {
      EXPECT_FALSE(oracleTables.failure.has_value())
          << oracleLabel() << " cannot read " << fixtureName() << ": " << *oracleTables.failure;
    }
    return !engineEntry && !oracleEntry && !engineTables.failure && !oracleTables.failure;
  }

  void compareColumnTypes(const std::string& table, const std::vector<Column>& ours,
                          const std::vector<Column>& theirs);
  std::vector<Row> alignRowOrder(const std::string& table, const std::vector<Column>& columns,
                                 const std::vector<Row>& ours, const std::vector<Row>& theirs);
  void compareValues(const std::string& table, const std::vector<Column>& columns,
                     const std::vector<Row>& ours, const std::vector<Row>& theirs);

  std::unique_ptr<AccessReader> engine_;
  std::unique_ptr<AccessReader> oracle_;
  int notes_ = 0;
};

TEST_P(AgainstOracle, ListsTheSameTables) {
  TableListing ours, theirs;
  if (!openBoth(ours, theirs)) return;
  for (const TableKind kind : theirs.kindsKnown) {
    EXPECT_EQ(joined(ours.names[kind]), joined(theirs.names[kind]))
        << kindName(kind) << " of " << fixtureName() << ", accessdb vs " << oracleLabel();
  }
}

void AgainstOracle::compareColumnTypes(const std::string& table, const std::vector<Column>& ours,
                                       const std::vector<Column>& theirs) {
  for (std::size_t i = 0; i < ours.size(); ++i) {
    const std::string& name = ours[i].name;
    const bool differs = ours[i].adoType != theirs[i].adoType;
    if (const auto entry = expected(Aspect::ColumnType, table, name)) {
      EXPECT_TRUE(differs) << fixtureName() << " " << table << "." << name << ": " << oracleLabel()
                           << " now agrees on the type; drop the entry";
      note(*entry);
    } else if (!theirs[i].adoType) {
      ADD_FAILURE() << fixtureName() << " " << table << "." << name << ": " << oracleLabel()
                    << " names no type for it and no expected difference says why";
    } else {
      EXPECT_FALSE(differs) << fixtureName() << " " << table << "." << name << ": accessdb type "
                            << ours[i].adoType.value_or(-1) << ", " << oracleLabel() << " "
                            << *theirs[i].adoType;
    }
  }
}

TEST_P(AgainstOracle, NamesAndTypesTheSameColumns) {
  TableListing ours, theirs;
  if (!openBoth(ours, theirs)) return;
  for (const std::string& table : ours.names[TableKind::User]) {
    const Reading<Column> ourColumns = engine_->columns(table);
    ASSERT_FALSE(ourColumns.failure) << fixtureName() << " " << table << ": " << *ourColumns.failure;
    const Reading<Column> theirColumns = oracle_->columns(table);
    if (theirColumns.failure) {
      ADD_FAILURE() << oracleLabel() << " " << fixtureName() << " " << table << ": " << *theirColumns.failure;
      continue;
    }
    EXPECT_EQ(joined(ourColumns.items), joined(theirColumns.items))
        << "column names of " << fixtureName() << " " << table;
    if (ourColumns.items.size() == theirColumns.items.size()) {
      compareColumnTypes(table, ourColumns.items, theirColumns.items);
    }
  }
}

// Rows are compared in storage order. When both readers hold the same rows
// in another order, that is reported once, and the oracle's rows are put
// into our order so that the values can still be compared column by
// column. A row is recognised by the columns the oracle reads correctly.
std::vector<Row> AgainstOracle::alignRowOrder(const std::string& table, const std::vector<Column>& columns,
                                              const std::vector<Row>& ours, const std::vector<Row>& theirs) {
  std::vector<std::size_t> keyColumns;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (!expected(Aspect::Values, table, columns[c].name)) keyColumns.push_back(c);
  }
  const auto key = [&](const Row& row, bool project) {
    std::string text;
    for (const std::size_t c : keyColumns) {
      text += project ? projectForOracle(GetParam().oracle, columns[c].adoType.value_or(0), row[c]) : row[c];
      text += '\x1f';
    }
    return text;
  };
  std::multimap<std::string, std::size_t> theirRowsByKey;
  for (std::size_t r = 0; r < theirs.size(); ++r) theirRowsByKey.emplace(key(theirs[r], false), r);
  std::vector<Row> aligned;
  std::optional<std::size_t> firstMoved;
  for (std::size_t r = 0; r < ours.size(); ++r) {
    const auto match = theirRowsByKey.find(key(ours[r], true));
    if (match == theirRowsByKey.end()) return theirs;  // not the same rows: compare as they stand
    if (match->second != r && !firstMoved) firstMoved = r;
    aligned.push_back(theirs[match->second]);
    theirRowsByKey.erase(match);
  }
  const auto entry = expected(Aspect::RowOrder, table);
  if (entry) {
    EXPECT_TRUE(firstMoved.has_value()) << fixtureName() << " " << table << ": " << oracleLabel()
                                        << " now gives the rows in our order; drop the entry";
    note(*entry);
  } else if (firstMoved) {
    ADD_FAILURE() << fixtureName() << " " << table << ": the same rows in another order; row "
                  << *firstMoved + 1 << " of accessdb (" << ours[*firstMoved].front() << ", ...) is not row "
                  << *firstMoved + 1 << " of " << oracleLabel() << " (" << theirs[*firstMoved].front()
                  << ", ...)";
  }
  return aligned;
}

void AgainstOracle::compareValues(const std::string& table, const std::vector<Column>& columns,
                                  const std::vector<Row>& ours, const std::vector<Row>& theirs) {
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const Column& column = columns[c];
    std::optional<std::size_t> firstDifference;
    std::string ourValue, theirValue;
    for (std::size_t r = 0; r < ours.size() && !firstDifference; ++r) {
      const std::string projected =
          projectForOracle(GetParam().oracle, column.adoType.value_or(0), ours[r].at(c));
      if (projected != theirs[r].at(c)) {
        firstDifference = r;
        ourValue = ours[r].at(c);
        theirValue = theirs[r].at(c);
      }
    }
    if (const auto entry = expected(Aspect::Values, table, column.name)) {
      EXPECT_TRUE(firstDifference.has_value())
          << fixtureName() << " " << table << "." << column.name << ": " << oracleLabel()
          << " now reads the same values; drop the entry";
      note(*entry);
    } else if (firstDifference) {
      ADD_FAILURE() << fixtureName() << " " << table << "." << column.name << " row " << *firstDifference + 1
                    << ": accessdb \"" << ourValue << "\", " << oracleLabel() << " \"" << theirValue << "\"";
    }
  }
}

TEST_P(AgainstOracle, ReadsTheSameRows) {
  TableListing ours, theirs;
  if (!openBoth(ours, theirs)) return;
  for (const std::string& table : ours.names[TableKind::User]) {
    const Reading<Column> columns = engine_->columns(table);
    const Reading<Row> ourRows = engine_->rows(table);
    ASSERT_FALSE(columns.failure) << fixtureName() << " " << table << ": " << *columns.failure;
    ASSERT_FALSE(ourRows.failure) << fixtureName() << " " << table << ": " << *ourRows.failure;
    for (std::size_t r = 0; r < ourRows.items.size(); ++r) {
      ASSERT_EQ(ourRows.items[r].size(), columns.items.size())
          << "accessdb " << fixtureName() << " " << table << " row " << r + 1 << " field count";
    }
    const Reading<Row> theirRows = oracle_->rows(table);
    if (const auto entry = expected(Aspect::TableRows, table)) {
      EXPECT_TRUE(theirRows.failure.has_value())
          << oracleLabel() << " now reads " << fixtureName() << " " << table << "; drop the entry";
      note(*entry);
      continue;
    }
    if (theirRows.failure) {
      ADD_FAILURE() << oracleLabel() << " " << fixtureName() << " " << table << ": " << *theirRows.failure;
      continue;
    }
    EXPECT_EQ(ourRows.items.size(), theirRows.items.size())
        << "row count of " << fixtureName() << " " << table;
    const bool shapesAgree = ourRows.items.size() == theirRows.items.size() &&
                             std::ranges::all_of(theirRows.items, [&](const Row& row) {
                               return row.size() == columns.items.size();
                             });
    EXPECT_TRUE(shapesAgree || ourRows.items.size() != theirRows.items.size())
        << oracleLabel() << " gives rows of another width for " << fixtureName() << " " << table;
    if (shapesAgree) {
      compareValues(table, columns.items, ourRows.items,
                    alignRowOrder(table, columns.items, ourRows.items, theirRows.items));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AccessFixtures, AgainstOracle, testing::ValuesIn(allCases()), caseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(AgainstOracle);

TEST(AccessFixtureFolder, HoldsTheFixtures) {
  EXPECT_FALSE(findFixtures(kFixtureRoot).empty())
      << "no Access fixtures under " << kFixtureRoot << " (shared/ belongs beside the clone)";
}

// An entry that names a file, table or column that does not exist would
// never be consulted and so never be found stale.
TEST(ExpectedDifferences, NameExistingFixturesTablesAndColumns) {
  const std::vector<Fixture> fixtures = findFixtures(kFixtureRoot);
  for (const ExpectedDifference& entry : expectedDifferences()) {
    const auto fixture = std::ranges::find(fixtures, entry.fixture, &Fixture::name);
    ASSERT_NE(fixture, fixtures.end()) << "no fixture " << entry.fixture;
    if (entry.table.empty() || entry.readers == Engine) continue;
    const auto engine = engineReader(*fixture);
    TableListing tables = engine->tables();
    ASSERT_TRUE(tables.names[TableKind::User].contains(std::string(entry.table)))
        << entry.fixture << " has no table " << entry.table;
    if (entry.column.empty()) continue;
    const std::vector<Column> columns = engine->columns(std::string(entry.table)).items;
    EXPECT_NE(std::ranges::find(columns, entry.column, &Column::name), columns.end())
        << entry.fixture << " " << entry.table << " has no column " << entry.column;
  }
}

}  // namespace
}  // namespace oracle
