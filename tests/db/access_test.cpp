// The Access gateway against the in-memory provider.
#include "db/access.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <memory>

#include "db/table_list.h"
#include "event_probe.h"
#include "page_fields.h"
#include "support/fake_database_provider.h"
#include "support/list_contents.h"
#include "support/scripted_prompter.h"

namespace {

using Strings = std::vector<std::string>;

TEST(AccessConnectionString, ChoosesTheProviderByTheLastFiveCharacters) {
  fake::PageFields fields;
  EXPECT_EQ(db::AccessConnectionString(fields, "C:\\data\\Shop.ACCDB", "pw"),
            "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=C:\\data\\Shop.ACCDB;"
            "JET OLEDB:Database Password=pw");
  EXPECT_EQ(db::AccessConnectionString(fields, "/srv/shop.mdb", "pw"),
            "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=/srv/shop.mdb;"
            "JET OLEDB:Database Password=pw");
  // No dot is needed, and a short path is compared whole.
  EXPECT_TRUE(db::AccessConnectionString(fields, "backupaccdb", "").startsWith("Provider=Microsoft.ACE"));
  EXPECT_TRUE(db::AccessConnectionString(fields, "a.db", "").startsWith("PROVIDER=Microsoft.Jet"));
  EXPECT_TRUE(db::AccessConnectionString(fields, "ccdb", "").startsWith("PROVIDER=Microsoft.Jet"));
  EXPECT_TRUE(db::AccessConnectionString(fields, "x.accdb ", "").startsWith("PROVIDER=Microsoft.Jet"));
}

TEST(AccessConnectionString, AlwaysEndsWithThePasswordClause) {
  fake::PageFields fields;
  EXPECT_TRUE(
      db::AccessConnectionString(fields, "/srv/shop.mdb", "").endsWith(";JET OLEDB:Database Password="));
  EXPECT_EQ(db::AccessConnectionString(fields, "my files/a b.mdb", "p;w d"),
            "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=my files/a b.mdb;"
            "JET OLEDB:Database Password=p;w d");
}

TEST(AccessConnectionString, AnEmptyPathTakesPathAndPasswordFromThePage) {
  fake::PageFields fields;
  fields.text1 = QStringLiteral("/home/u/Shop.accdb");
  fields.text2 = QStringLiteral("page secret");
  EXPECT_EQ(db::AccessConnectionString(fields, "", "ignored"),
            "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=/home/u/Shop.accdb;"
            "JET OLEDB:Database Password=page secret");
  fields.text1.clear();
  EXPECT_EQ(db::AccessConnectionString(fields, "", "ignored"),
            "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=;JET OLEDB:Database Password=page secret");
}

class AccessGateway : public testing::Test {
 protected:
  AccessGateway() {
    file = folder.filePath("shop.mdb");
    QFile created(file);
    created.open(QIODevice::WriteOnly);
    fields.text1 = file;
    fields.text2 = QStringLiteral("page pw");
    database->accessRules = true;
    db::PrepareTableList(list);
  }

  QTemporaryDir folder;
  QString file;
  std::shared_ptr<fake::Database> database = std::make_shared<fake::Database>();
  ado::ProviderRegistry registry = fake::registryFor(database);
  db::ConnectionFactory connections = db::ConnectionsOver(&registry);
  fake::PageFields fields;
  test_support::ScriptedPrompter prompter;
  QListWidget list;
};

TEST_F(AccessGateway, TablesAreTheUserTableRowsInSchemaOrder) {
  database->addTable("Zebra");
  database->addTable("MSysObjects", "SYSTEM TABLE");
  database->addTable("Recent orders", "VIEW");
  database->addTable("Alpha");
  database->addTable("lower", "table");
  database->addTable("Alpha");
  const auto tables = db::GetAccessTables(file, fields, prompter, connections);
  ASSERT_TRUE(tables.has_value());
  EXPECT_EQ(*tables, QStringList({"Zebra", "Alpha", "Alpha"}));
  EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(AccessGateway, TablesOpenWithThePageFieldsNotTheGivenPath) {
  QTemporaryDir other;
  const QString otherFile = other.filePath("other.accdb");
  QFile(otherFile).open(QIODevice::WriteOnly);
  ASSERT_TRUE(db::GetAccessTables(otherFile, fields, prompter, connections).has_value());
  ASSERT_EQ(database->opens.size(), 1u);
  EXPECT_EQ(database->opens[0].provider, "Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(database->opens[0].dataSource, file.toStdString());
  EXPECT_EQ(database->opens[0].password, "page pw");
}

TEST_F(AccessGateway, AMissingFileGivesNothingWithoutAMessage) {
  database->addTable("Orders");
  EXPECT_FALSE(db::GetAccessTables(folder.filePath("gone.mdb"), fields, prompter, connections));
  EXPECT_FALSE(db::GetAccessTables("", fields, prompter, connections));
  EXPECT_TRUE(database->opens.empty());
  EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(AccessGateway, AFailingOpenIsReportedWithItsNumber) {
  database->openError = ado::Error(-2147217843, "Not a valid password.");
  EXPECT_FALSE(db::GetAccessTables(file, fields, prompter, connections));
  ASSERT_EQ(prompter.calls().size(), 1u);
  const auto& call = prompter.calls()[0];
  EXPECT_EQ(call.text, QStringLiteral("Not a valid password. (Error Number = -2147217843)"));
  EXPECT_EQ(call.style, 0);
  EXPECT_TRUE(call.caption.isEmpty());
}

TEST_F(AccessGateway, AFailingSchemaIsReportedToo) {
  database->schemaError = ado::Error(3251, "Object or provider is not capable.");
  EXPECT_FALSE(db::GetAccessTables(file, fields, prompter, connections));
  EXPECT_EQ(prompter.messages(),
            std::vector<QString>({"Object or provider is not capable. (Error Number = 3251)"}));
}

TEST_F(AccessGateway, FillMakesTheFirstEntryCurrentWithoutSelectingIt) {
  db::AddTableName(list, "stale");
  list.item(0)->setSelected(true);
  database->addTable("orders");
  database->addTable("Customers");
  fake::EventProbe probe;
  db::FillAccessTableList(list, file, fields, prompter, connections);
  EXPECT_EQ(fake::entries(list), QStringList({"Customers", "orders"}));
  EXPECT_EQ(list.currentRow(), 0);
  EXPECT_TRUE(list.selectedItems().isEmpty());
  EXPECT_TRUE(probe.delivered());
}

TEST_F(AccessGateway, FillWithNoUserTablesLeavesAnEmptyListWithoutCurrentEntry) {
  db::AddTableName(list, "stale");
  list.setCurrentRow(0);
  database->addTable("MSysACEs", "SYSTEM TABLE");
  db::FillAccessTableList(list, file, fields, prompter, connections);
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.currentRow(), -1);
}

TEST_F(AccessGateway, FillAfterAFailureShowsTheMessageAndAnEmptyList) {
  db::AddTableName(list, "stale");
  database->openError = ado::Error(-2147467259, "Unrecognized database format.");
  db::FillAccessTableList(list, file, fields, prompter, connections);
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(prompter.messages().size(), 1u);
}

TEST_F(AccessGateway, ExistenceComparesNamesInUpperCaseAndOnlyUserTables) {
  database->addTable("ORDERS");
  database->addTable("Recent", "VIEW");
  EXPECT_TRUE(db::AccessTableExists(file, "given pw", "orders", fields, connections));
  EXPECT_TRUE(db::AccessTableExists(file, "given pw", "Orders", fields, connections));
  EXPECT_FALSE(db::AccessTableExists(file, "given pw", "order", fields, connections));
  EXPECT_FALSE(db::AccessTableExists(file, "given pw", "recent", fields, connections));
  ASSERT_FALSE(database->opens.empty());
  EXPECT_EQ(database->opens[0].password, "given pw");
}

TEST_F(AccessGateway, ExistenceOfAMissingFileIsFalseWithoutOpening) {
  database->addTable("orders");
  EXPECT_FALSE(db::AccessTableExists(folder.filePath("gone.mdb"), "", "orders", fields, connections));
  EXPECT_TRUE(database->opens.empty());
}

TEST_F(AccessGateway, RenameCopiesThenDropsTheOldTable) {
  database->addTable("orders");
  EXPECT_TRUE(db::RenameAccessTable("orders", "sales", file, "pw", fields, prompter, connections));
  EXPECT_EQ(database->statements,
            Strings({"SELECT a1.* INTO `sales` FROM `orders` AS a1;", "DROP TABLE `orders`"}));
  EXPECT_EQ(database->tableNames(), Strings({"sales"}));
  EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(AccessGateway, DecliningTheOverwriteSendsNothing) {
  database->addTable("orders");
  database->addTable("SALES");
  prompter.queueAnswer(db::kIdNo);
  EXPECT_FALSE(db::RenameAccessTable("orders", "sales", file, "pw", fields, prompter, connections));
  EXPECT_TRUE(database->statements.empty());
  ASSERT_EQ(prompter.calls().size(), 1u);
  EXPECT_EQ(prompter.calls()[0].text, QStringLiteral("Would you like to overwrite sales?"));
  EXPECT_EQ(prompter.calls()[0].style, 4);
  EXPECT_EQ(prompter.calls()[0].caption, QStringLiteral("Overwrite?"));
  EXPECT_EQ(database->tableNames(), Strings({"orders", "SALES"}));
}

TEST_F(AccessGateway, AcceptingTheOverwriteDropsTheTargetFirst) {
  database->addTable("orders");
  database->addTable("sales");
  prompter.queueAnswer(db::kIdYes);
  EXPECT_TRUE(db::RenameAccessTable("orders", "sales", file, "pw", fields, prompter, connections));
  EXPECT_EQ(database->statements,
            Strings({"DROP TABLE `sales`", "SELECT a1.* INTO `sales` FROM `orders` AS a1;",
                     "DROP TABLE `orders`"}));
  EXPECT_EQ(database->tableNames(), Strings({"sales"}));
}

TEST_F(AccessGateway, AFailedCopyLeavesTheOldTable) {
  database->addTable("orders");
  database->failingStatement = "SELECT a1.* INTO `sales` FROM `orders` AS a1;";
  EXPECT_THROW(db::RenameAccessTable("orders", "sales", file, "pw", fields, prompter, connections),
               ado::Error);
  EXPECT_EQ(database->tableNames(), Strings({"orders"}));
  EXPECT_EQ(database->statements.size(), 1u);
}

TEST_F(AccessGateway, RenamingToTheSameNameChangesNothing) {
  database->addTable("orders");
  EXPECT_TRUE(db::RenameAccessTable("orders", "orders", file, "pw", fields, prompter, connections));
  EXPECT_TRUE(database->statements.empty());
  EXPECT_TRUE(prompter.calls().empty());
  EXPECT_EQ(database->tableNames(), Strings({"orders"}));
}

TEST_F(AccessGateway, ANewSpellingOfTheSameNameKeepsTheTableWithoutAsking) {
  database->addTable("orders");
  database->addTable("~Rename1");  // left over from an earlier run: must survive
  EXPECT_TRUE(db::RenameAccessTable("orders", "Orders", file, "pw", fields, prompter, connections));
  EXPECT_TRUE(prompter.calls().empty());
  EXPECT_EQ(database->statements,
            Strings({"SELECT a1.* INTO `~Rename2` FROM `orders` AS a1;", "DROP TABLE `orders`",
                     "SELECT a1.* INTO `Orders` FROM `~Rename2` AS a1;", "DROP TABLE `~Rename2`"}));
  EXPECT_EQ(database->tableNames(), Strings({"~Rename1", "Orders"}));
}

}  // namespace
