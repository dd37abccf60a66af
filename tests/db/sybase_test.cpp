// The ODBC gateway against the in-memory provider.
#include "db/sybase.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <memory>

#include "ado/connection.h"
#include "db/table_list.h"
#include "event_probe.h"
#include "page_fields.h"
#include "support/fake_database_provider.h"
#include "support/list_contents.h"

namespace {

class SybaseGateway : public testing::Test {
 protected:
  SybaseGateway() { db::PrepareTableList(list); }

  std::shared_ptr<fake::Database> database = std::make_shared<fake::Database>();
  ado::ProviderRegistry registry = fake::registryFor(database);
  db::ConnectionFactory connections = db::ConnectionsOver(&registry);
  fake::PageFields fields;
  QListWidget list;
};

TEST_F(SybaseGateway, ConnectionStringIsTheBareDataSourceName) {
  EXPECT_EQ(db::SybaseConnectionString(QStringLiteral("Sales DB")), QStringLiteral("Data Source=Sales DB"));
  EXPECT_EQ(db::SybaseConnectionString(QString()), QStringLiteral("Data Source="));
}

TEST_F(SybaseGateway, CanConnectOpensMsdasqlWithTheNameTypedNow) {
  fields.text3 = QStringLiteral("first");
  EXPECT_TRUE(db::CanConnectSybase(fields, connections));
  fields.text3 = QStringLiteral("second");
  EXPECT_TRUE(db::CanConnectSybase(fields, connections));
  ASSERT_EQ(database->opens.size(), 2u);
  EXPECT_EQ(database->opens[0].provider, "MSDASQL");
  EXPECT_EQ(database->opens[0].dataSource, "first");
  EXPECT_EQ(database->opens[1].dataSource, "second");
}

TEST_F(SybaseGateway, CanConnectAnswersFalseWhenTheOpenFails) {
  database->openError = ado::Error(ado::errc::kProviderFailure, "Data source name not found");
  EXPECT_FALSE(db::CanConnectSybase(fields, connections));
}

TEST_F(SybaseGateway, FillListsOnlyUserTablesWithoutSysInTheirNames) {
  database->addTable("Orders");
  database->addTable("SYSTABLE");
  database->addTable("mysysdata");
  database->addTable("customers_Sys");
  database->addTable("sYsUsers");
  database->addTable("system_log", "VIEW");
  database->addTable("Products");
  database->addTable("s_y_s");
  EXPECT_NO_THROW(db::FillSybaseTableList(list, fields, connections));
  EXPECT_EQ(fake::entries(list), QStringList({"Orders", "Products", "s_y_s"}));
}

TEST_F(SybaseGateway, FillTakesOnlyRowsTypedExactlyTable) {
  database->addTable("a_view", "VIEW");
  database->addTable("lower", "table");
  database->addTable("padded", "TABLE ");
  database->addTable("catalog", "SYSTEM TABLE");
  database->addTable("linked", "LINK");
  database->schema.push_back({ado::Variant::text("null_type"), ado::Variant::null()});
  database->schema.push_back({ado::Variant::text("numeric_type"), ado::Variant::int32(1)});
  database->addTable("kept");
  fake::EventProbe probe;
  db::FillSybaseTableList(list, fields, connections);
  EXPECT_EQ(fake::entries(list), QStringList({"kept"}));
  EXPECT_TRUE(probe.delivered());
}

TEST_F(SybaseGateway, FillYieldsOnlyForUserTableRows) {
  database->addTable("v1", "VIEW");
  database->addTable("v2", "SYSTEM TABLE");
  fake::EventProbe probe;
  db::FillSybaseTableList(list, fields, connections);
  EXPECT_FALSE(probe.delivered());
  EXPECT_EQ(list.count(), 0);
}

TEST_F(SybaseGateway, FillReplacesOldEntriesAndMakesNoEntryCurrent) {
  db::AddTableName(list, "stale");
  list.setCurrentRow(0);
  database->addTable("fresh");
  database->addTable("again");
  db::FillSybaseTableList(list, fields, connections);
  EXPECT_EQ(fake::entries(list), QStringList({"again", "fresh"}));
  EXPECT_EQ(list.currentRow(), -1);
  EXPECT_TRUE(list.selectedItems().isEmpty());
}

TEST_F(SybaseGateway, FillKeepsTheOldEntriesWhenTheDataSourceFails) {
  db::AddTableName(list, "kept_1");
  db::AddTableName(list, "kept_2");
  database->addTable("never_seen");
  database->openError = ado::Error(ado::errc::kProviderFailure, "Data source name not found");
  EXPECT_THROW(db::FillSybaseTableList(list, fields, connections), ado::Error);
  EXPECT_EQ(fake::entries(list), QStringList({"kept_1", "kept_2"}));
}

TEST_F(SybaseGateway, FillKeepsTheOldEntriesWhenTheSchemaFails) {
  db::AddTableName(list, "kept");
  database->schemaError = ado::Error(ado::errc::kProviderFailure, "schema unavailable");
  EXPECT_THROW(db::FillSybaseTableList(list, fields, connections), ado::Error);
  EXPECT_EQ(fake::entries(list), QStringList({"kept"}));
}

TEST_F(SybaseGateway, FillReadsTheDataSourceNameAtTheMomentOfTheCall) {
  fields.text3 = QStringLiteral("ServerOne");
  db::FillSybaseTableList(list, fields, connections);
  fields.text3 = QStringLiteral("ServerTwo");
  db::FillSybaseTableList(list, fields, connections);
  ASSERT_EQ(database->opens.size(), 2u);
  EXPECT_EQ(database->opens[0].dataSource, "ServerOne");
  EXPECT_EQ(database->opens[1].dataSource, "ServerTwo");
  EXPECT_EQ(database->opens[1].provider, "MSDASQL");
}

}  // namespace
