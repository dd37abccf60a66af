// The sample database the build writes beside the program: its tables and
// rows as our reader, mdbtools and mdb-reader see them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "index_audit.h"
#include "jet/database/database.h"
#include "oracles.h"

namespace jet::write {
namespace {

using jetwrite_test::quoted;

const std::map<std::string, std::uint64_t> kRowCounts{
    {"Customers", 10}, {"Orders", 24}, {"Order Details", 48}, {"Returns", 0}};

TEST(SampleDatabase, TablesAndRowsInEveryReader) {
  const std::string path = FERROVALE_SAMPLE_DATABASE;
  ASSERT_TRUE(std::filesystem::exists(path)) << path;
  auto db = Database::open(path, "");
  EXPECT_EQ(db->header().version, Version::Jet4);
  for (const auto& [name, rows] : kRowCounts) EXPECT_EQ(db->table(name).countRows(), rows) << name;
  EXPECT_EQ(jetwrite_test::indexFaults(path), "");

  const Table orders = db->table("Orders");
  std::vector<std::string> types;
  for (const ColumnDef& c : orders.columns()) types.push_back(c.name + ":" + std::to_string(c.typeCode));
  EXPECT_EQ(types, (std::vector<std::string>{"OrderID:4", "CustomerID:4", "OrderDate:8", "ShippedDate:8",
                                             "Freight:5", "Paid:1", "Notes:12"}));

  const auto tables = jetwrite_test::runCommand("mdb-tables -1 " + quoted(path));
  EXPECT_EQ(tables.output, "Customers\nOrders\nOrder Details\nReturns\n");
  // Memo notes hold line breaks, so mdbtools' rows are counted by the
  // leading order numbers of "Order Details", which has no memo.
  const auto details = jetwrite_test::mdbExport(path, "Order Details");
  EXPECT_EQ(details.status, 0);
  EXPECT_EQ(std::count(details.output.begin(), details.output.end(), '\n'), 48);
  const auto customers = jetwrite_test::mdbExport(path, "Customers");
  EXPECT_EQ(std::count(customers.output.begin(), customers.output.end(), '\n'), 10);
  EXPECT_NE(customers.output.find("\"Königlich Essen\""), std::string::npos) << customers.output;
  const auto returns = jetwrite_test::mdbExport(path, "Returns");
  EXPECT_EQ(returns.output, "");
  if (!jetwrite_test::haveMdbReader()) SKIP_WITHOUT_ORACLE("mdb-reader is not installed");
  const auto js = jetwrite_test::withMdbReader(
      path,
      "console.log([\"Customers\",\"Orders\",\"Order Details\",\"Returns\"]"
      ".map(n=>db.getTable(n).rowCount).join(\",\"), db.getTable(\"Orders\").getData()[1].Freight);");
  EXPECT_EQ(js.output, "10,24,48,0 41.6900\n");
}

}  // namespace
}  // namespace jet::write
