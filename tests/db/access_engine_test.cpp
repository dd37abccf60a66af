// The Access gateway on the real engine: existence, rename, drop and the
// table list of a database file that the statements really change.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QTemporaryDir>

#include "ado/connection.h"
#include "ado/error.h"
#include "ado/recordset.h"
#include "db/access.h"
#include "db/table_list.h"
#include "jet/database/new_database.h"
#include "page_fields.h"
#include "support/list_contents.h"
#include "support/scripted_prompter.h"

namespace {

class AccessEngine : public testing::Test {
 protected:
  AccessEngine() {
    jet::write::createDatabase(path.toStdString(), jet::write::NewFormat::Jet4);
    fields.text1 = path;
    run({"CREATE TABLE `Orders`(`id` INT,`item` VARCHAR);", "INSERT INTO `Orders` VALUES('1', 'pen')",
         "INSERT INTO `Orders` VALUES('2', 'ink')", "CREATE TABLE `Invoices`(`no` INT);",
         "INSERT INTO `Invoices` VALUES('77')"});
  }

  // Runs statements on a connection of its own, closed afterwards as the
  // program's commands close theirs.
  void run(std::initializer_list<const char*> statements) {
    ado::Connection connection;
    connection.open(db::AccessConnectionString(fields, path, {}).toStdString());
    for (const char* sql : statements) connection.execute(sql);
  }

  bool exists(const QString& name) {
    return db::AccessTableExists(path, {}, name, fields, db::ConnectionsOver());
  }

  bool rename(const QString& from, const QString& to) {
    return db::RenameAccessTable(from, to, path, {}, fields, prompter, db::ConnectionsOver());
  }

  QStringList tables() {
    QListWidget list;
    db::PrepareTableList(list);
    db::FillAccessTableList(list, path, fields, prompter, db::ConnectionsOver());
    return fake::entries(list);
  }

  // Every value of every row, as text, in stored order.
  QStringList rowsOf(const QString& table) {
    ado::Connection connection;
    connection.open(db::AccessConnectionString(fields, path, {}).toStdString());
    ado::Recordset records;
    records.open("SELECT * FROM `" + table.toStdString() + "`", connection);
    QStringList values;
    for (; !records.eof(); records.moveNext()) {
      QStringList row;
      for (int i = 0; i < records.fieldCount(); ++i)
        row << QString::fromStdString(records.field(i).value.textForm());
      values << row.join(QLatin1Char('|'));
    }
    return values;
  }

  QTemporaryDir folder;
  QString path = folder.filePath(QStringLiteral("shop.mdb"));
  fake::PageFields fields;
  test_support::ScriptedPrompter prompter;
};

TEST_F(AccessEngine, TableExistsIgnoresLetterCaseAndSeesOnlyUserTables) {
  EXPECT_TRUE(exists(QStringLiteral("orders")));
  EXPECT_TRUE(exists(QStringLiteral("INVOICES")));
  EXPECT_FALSE(exists(QStringLiteral("Order")));
  EXPECT_FALSE(exists(QStringLiteral("MSysObjects")));
  EXPECT_FALSE(db::AccessTableExists(folder.filePath(QStringLiteral("none.mdb")), {},
                                     QStringLiteral("Orders"), fields, db::ConnectionsOver()));
}

TEST_F(AccessEngine, RenameCopiesTheRowsAndDropsTheOldTable) {
  EXPECT_TRUE(rename(QStringLiteral("Orders"), QStringLiteral("Sales")));
  EXPECT_EQ(tables(), QStringList({"Invoices", "Sales"}));
  EXPECT_EQ(rowsOf(QStringLiteral("Sales")), QStringList({"1|pen", "2|ink"}));
  EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(AccessEngine, RenameOntoAnExistingTableAnsweredYesReplacesIt) {
  prompter.queueAnswer(db::kIdYes);
  EXPECT_TRUE(rename(QStringLiteral("Orders"), QStringLiteral("Invoices")));
  ASSERT_EQ(prompter.calls().size(), 1u);
  EXPECT_EQ(prompter.calls()[0].text, QStringLiteral("Would you like to overwrite Invoices?"));
  EXPECT_EQ(prompter.calls()[0].style, db::kYesNo);
  EXPECT_EQ(prompter.calls()[0].caption, QStringLiteral("Overwrite?"));
  EXPECT_EQ(tables(), QStringList({"Invoices"}));
  EXPECT_EQ(rowsOf(QStringLiteral("Invoices")), QStringList({"1|pen", "2|ink"}));
}

TEST_F(AccessEngine, RenameOntoAnExistingTableAnsweredNoChangesNothing) {
  prompter.queueAnswer(db::kIdNo);
  EXPECT_FALSE(rename(QStringLiteral("Orders"), QStringLiteral("invoices")));
  EXPECT_EQ(tables(), QStringList({"Invoices", "Orders"}));
  EXPECT_EQ(rowsOf(QStringLiteral("Invoices")), QStringList({"77"}));
  EXPECT_EQ(rowsOf(QStringLiteral("Orders")), QStringList({"1|pen", "2|ink"}));
}

TEST_F(AccessEngine, ANewSpellingOfTheSameNameKeepsTheRowsAndAsksNothing) {
  EXPECT_TRUE(rename(QStringLiteral("Orders"), QStringLiteral("ORDERS")));
  EXPECT_EQ(tables(), QStringList({"Invoices", "ORDERS"}));
  EXPECT_EQ(rowsOf(QStringLiteral("ORDERS")), QStringList({"1|pen", "2|ink"}));
  EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(AccessEngine, TheSameNameIsNoChange) {
  EXPECT_TRUE(rename(QStringLiteral("Orders"), QStringLiteral("Orders")));
  EXPECT_EQ(tables(), QStringList({"Invoices", "Orders"}));
  EXPECT_EQ(rowsOf(QStringLiteral("Orders")), QStringList({"1|pen", "2|ink"}));
}

TEST_F(AccessEngine, RenamingAMissingTableFailsAndDropsNothing) {
  EXPECT_THROW(rename(QStringLiteral("Nothing"), QStringLiteral("Something")), ado::Error);
  EXPECT_EQ(tables(), QStringList({"Invoices", "Orders"}));
}

TEST_F(AccessEngine, DroppedAndCreatedTablesShowInTheNextList) {
  run({"DROP TABLE `Orders`;", "CREATE TABLE `Returns`(`id` INT);"});
  EXPECT_FALSE(exists(QStringLiteral("Orders")));
  EXPECT_EQ(tables(), QStringList({"Invoices", "Returns"}));
  const auto listed = db::GetAccessTables(path, fields, prompter, db::ConnectionsOver());
  ASSERT_TRUE(listed.has_value());
  EXPECT_EQ(*listed, QStringList({"Invoices", "Returns"}));
  EXPECT_TRUE(prompter.calls().empty());
}

}  // namespace
