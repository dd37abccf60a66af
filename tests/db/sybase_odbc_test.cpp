// The ODBC gateway against real SQLite data sources in a private ODBC
// configuration.
#include <gtest/gtest.h>

#include <QListWidget>

#include "ado/error.h"
#include "db/sybase.h"
#include "db/table_list.h"
#include "page_fields.h"
#include "support/list_contents.h"
#include "support/odbc_sandbox.h"

namespace {

using test_support::OdbcSandbox;

class SybaseOverOdbc : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    OdbcSandbox::instance().createDsn(
        "GatewayShop",
        {"CREATE TABLE Orders (id INTEGER PRIMARY KEY, total REAL)", "CREATE TABLE sysdiagrams (id INTEGER)",
         "CREATE TABLE Products (name TEXT)", "CREATE VIEW order_totals AS SELECT total FROM Orders"});
    OdbcSandbox::instance().createDsn("GatewayEmpty");
    OdbcSandbox::instance().createDsnWithoutDatabase("GatewayNoFile");
  }

  SybaseOverOdbc() { db::PrepareTableList(list); }

  fake::PageFields fields;
  QListWidget list;
};

TEST_F(SybaseOverOdbc, CanConnectAnswersForGoodMissingAndEmptyNames) {
  fields.text3 = QStringLiteral("GatewayShop");
  EXPECT_TRUE(db::CanConnectSybase(fields, db::ConnectionsOver()));
  fields.text3 = QString::fromLatin1(OdbcSandbox::kUnknownDsn);
  EXPECT_FALSE(db::CanConnectSybase(fields, db::ConnectionsOver()));
  fields.text3 = QStringLiteral("GatewayNoFile");
  EXPECT_FALSE(db::CanConnectSybase(fields, db::ConnectionsOver()));
  fields.text3.clear();
  EXPECT_FALSE(db::CanConnectSybase(fields, db::ConnectionsOver()));
}

TEST_F(SybaseOverOdbc, FillListsTheUserTablesOfTheDataSource) {
  fields.text3 = QStringLiteral("GatewayShop");
  db::FillSybaseTableList(list, fields, db::ConnectionsOver());
  EXPECT_EQ(fake::entries(list), QStringList({"Orders", "Products"}));
}

TEST_F(SybaseOverOdbc, FillOfADataSourceWithoutTablesEmptiesTheList) {
  db::AddTableName(list, "stale");
  fields.text3 = QStringLiteral("GatewayEmpty");
  db::FillSybaseTableList(list, fields, db::ConnectionsOver());
  EXPECT_EQ(list.count(), 0);
}

TEST_F(SybaseOverOdbc, FillFromAnUnknownDataSourceRaisesAndKeepsTheList) {
  db::AddTableName(list, "kept");
  fields.text3 = QString::fromLatin1(OdbcSandbox::kUnknownDsn);
  EXPECT_THROW(db::FillSybaseTableList(list, fields, db::ConnectionsOver()), ado::Error);
  EXPECT_EQ(fake::entries(list), QStringList({"kept"}));
}

}  // namespace
