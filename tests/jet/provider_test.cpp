// The Access providers: schema rows and their order, field types, the row
// count before the first row, the one understood query, and the errors.
#include <gtest/gtest.h>

#include "ado/access/access_provider.h"
#include "ado/access/field_mapping.h"
#include "ado/data_type.h"
#include "ado/error.h"
#include "ado/provider_registry.h"
#include "fixtures.h"

namespace ado::access {
namespace {

using jet::testing::fixture;

std::unique_ptr<Session> openSession(const std::string& path, const std::string& password = "") {
  ConnectionString properties =
      ConnectionString::parse("Data Source=" + path + ";JET OLEDB:Database Password=" + password);
  return builtinProviders().create("Microsoft.Jet.OLEDB.4.0")->open(properties, OpenOptions{});
}

std::vector<std::pair<std::string, std::string>> schemaRows(Session& session) {
  auto cursor = session.tables();
  std::vector<std::pair<std::string, std::string>> rows;
  std::vector<Variant> row;
  while (cursor->fetch(row)) rows.emplace_back(row[3].as<std::string>(), row[2].as<std::string>());
  EXPECT_EQ(cursor->knownRowCount(), static_cast<long long>(rows.size()));
  return rows;
}

int errorNumberOf(const std::function<void()>& work) {
  try {
    work();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

TEST(AccessProvider, BothNamesAreRegistered) {
  EXPECT_NO_THROW(builtinProviders().create("Microsoft.ACE.OLEDB.12.0"));
  EXPECT_NO_THROW(builtinProviders().create("microsoft.jet.oledb.4.0"));
}

TEST(AccessProvider, SchemaRowsAreTypedAndOrderedByTypeThenName) {
  auto session = openSession(fixture("jet3/activemdb_sample.mdb"));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"ACCESS TABLE", "MSysModules"}, {"ACCESS TABLE", "MSysModules2"},
      {"SYSTEM TABLE", "MSysACEs"},    {"SYSTEM TABLE", "MSysObjects"},
      {"SYSTEM TABLE", "MSysQueries"}, {"SYSTEM TABLE", "MSysRelationships"},
      {"TABLE", "Computer"},           {"TABLE", "Employee"},
      {"TABLE", "Inventory"},          {"TABLE", "Room"},
      {"VIEW", "Employees_by_Room"},   {"VIEW", "Equipment_by_Room"}};
  EXPECT_EQ(schemaRows(*session), expected);
}

TEST(AccessProvider, LinkedTablesAreLinks) {
  auto session = openSession(fixture("jet4/linked.mdb"));
  const auto rows = schemaRows(*session);
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::pair<std::string, std::string>{"ACCESS TABLE", "MSysAccessObjects"}));
  EXPECT_EQ(rows[1], (std::pair<std::string, std::string>{"LINK", "Table1"}));
  EXPECT_EQ(rows[2], (std::pair<std::string, std::string>{"LINK", "table2"}));
}

TEST(AccessProvider, HiddenComplexDataTablesAreSystemTables) {
  auto session = openSession(fixture("ace12/attachments.accdb"));
  for (const auto& [type, name] : schemaRows(*session)) {
    const bool hidden = name.rfind("f_", 0) == 0 || name.rfind("MSysComplexType_", 0) == 0;
    if (hidden) {
      EXPECT_EQ(type, "SYSTEM TABLE") << name;
    }
    if (name == "Table1") {
      EXPECT_EQ(type, "TABLE");
    }
  }
}

TEST(AccessProvider, FieldTypesFollowTheAccessProviders) {
  auto session = openSession(fixture("ace12/testV2007.accdb"));
  auto cursor = session->query("SELECT * FROM `Table1`");
  std::vector<int> types;
  for (const auto& c : cursor->columns()) types.push_back(c.type);
  // Text, Text, Byte, Integer, Long, Double, Date/Time, Currency, Yes/No
  EXPECT_EQ(types, (std::vector<int>{adVarWChar, adVarWChar, adUnsignedTinyInt, adSmallInt, adInteger,
                                     adDouble, adDate, adCurrency, adBoolean}));
  auto more = openSession(fixture("ace12/complexDataTestV2007.accdb"))->query("SELECT * FROM `Table1`");
  EXPECT_EQ(more->columns()[1].type, adInteger);       // complex: its key
  EXPECT_EQ(more->columns()[2].type, adLongVarWChar);  // memo
  auto ole = openSession(fixture("jet4/test2V2000.mdb"))->query("SELECT * FROM `MSP_PROJECTS`");
  EXPECT_EQ(ole->columns().back().type, adLongVarBinary);
  EXPECT_EQ(openSession(fixture("ace16/bigint.accdb"))->query("SELECT * FROM `Table`")->columns()[1].type,
            adBigInt);
  EXPECT_EQ(openSession(fixture("jet4/fixedNumericTestV2003.mdb"))
                ->query("SELECT * FROM `test`")
                ->columns()[1]
                .type,
            adNumeric);
}

TEST(AccessProvider, RecordCountIsKnownBeforeTheFirstRow) {
  auto session = openSession(fixture("ace14/calcFieldTestV2010.accdb"));
  auto cursor = session->query("SELECT * FROM `Table1`");
  EXPECT_EQ(cursor->knownRowCount(), 4);
  std::vector<Variant> row;
  int rows = 0;
  while (cursor->fetch(row)) ++rows;
  EXPECT_EQ(rows, 4);
  EXPECT_EQ(row[0].as<std::int32_t>(), 4);
}

TEST(AccessProvider, ValuesBecomeVariants) {
  auto cursor = openSession(fixture("jet3/testV1997.mdb"))->query("SELECT * FROM `Table1`");
  std::vector<Variant> row;
  ASSERT_TRUE(cursor->fetch(row));
  ASSERT_TRUE(cursor->fetch(row));
  EXPECT_EQ(row[0], Variant::text("abcdefg"));
  EXPECT_EQ(row[2], Variant::uint8(2));
  EXPECT_EQ(row[3], Variant::int16(222));
  EXPECT_EQ(row[4], Variant::int32(333333333));
  EXPECT_EQ(row[5], Variant::real(444.555));
  EXPECT_EQ(row[7], Variant::currency(Currency{35000}));
  EXPECT_EQ(row[8], Variant::boolean(true));
}

TEST(AccessProvider, GuidsAreGivenInTextOrder) {
  const jet::Guid stored = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 8, 9, 10, 11, 12, 13, 14, 15};
  const Guid expected = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 8, 9, 10, 11, 12, 13, 14, 15};
  EXPECT_EQ(toVariant(jet::Value(stored)), Variant::guid(expected));
}

TEST(AccessProvider, QueriesTheTableTheProgramSelects) {
  auto session = openSession(fixture("jet4/delColTestV2000.mdb"));
  for (const char* sql : {"SELECT * FROM `Table1`", "  select\t*\nfrom `table1` ;  ", "SELECT*FROM`Table1`;"})
    EXPECT_EQ(session->query(sql)->columns().size(),
              session->query("SELECT * FROM `Table1`")->columns().size())
        << sql;
}

TEST(AccessProvider, OtherQueriesAreSyntaxErrorsNamingTheRest) {
  auto session = openSession(fixture("jet4/delColTestV2000.mdb"));
  for (const char* sql : {"SELECT a FROM `Table1`", "SELECT * FROM `Table1` WHERE 1",
                          "SELECTED * FROM `Table1`", "SELECT * FROM `Table1", "DELETE FROM `Table1`", ""})
    EXPECT_EQ(errorNumberOf([&] { session->query(sql); }), errc::kSyntaxError) << sql;
  try {
    session->query("SELECT * FROM `Table1` WHERE x = 1");
    ADD_FAILURE() << "a WHERE clause was accepted";
  } catch (const Error& e) {
    EXPECT_NE(e.description().find("WHERE"), std::string::npos) << e.description();
  }
}

TEST(AccessProvider, OpeningErrorsCarryTheProvidersNumbersAndWords) {
  try {
    openSession("/no/such/file.mdb");
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errc::kProviderFailure);
    EXPECT_EQ(e.description(), "Could not find file '/no/such/file.mdb'.");
  }
  try {
    openSession(fixture("README.md"));
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.description(), "Unrecognized database format '" + fixture("README.md") + "'.");
  }
  EXPECT_EQ(errorNumberOf([] { openSession(fixture("encrypted/password.mdb"), "wrong"); }),
            errc::kInvalidPassword);
  EXPECT_EQ(errorNumberOf([] { openSession(fixture("encrypted/password.mdb"), "ucanaccess"); }), 0);
  EXPECT_EQ(errorNumberOf([] { openSession(fixture("encrypted/office-agile-4.4.accdb"), "wrong"); }),
            errc::kInvalidPassword);
  EXPECT_EQ(errorNumberOf([] { openSession(fixture("encrypted/office-agile-4.4.accdb"), "password"); }), 0);
}

TEST(AccessProvider, UnknownTablesAndQueriesCannotBeSelected) {
  auto session = openSession(fixture("jet3/activemdb_sample.mdb"));
  EXPECT_EQ(errorNumberOf([&] { session->query("SELECT * FROM `Nope`"); }), jet::errc::kNoSuchTable);
  EXPECT_EQ(errorNumberOf([&] { session->query("SELECT * FROM `Employees_by_Room`"); }),
            jet::errc::kNoSuchTable);
}

}  // namespace
}  // namespace ado::access
