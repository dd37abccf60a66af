// The drop and rename buttons of the table manager page on a real Access
// file and a real SQLite data source, with every statement that reaches
// the two engines written down on its way.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <atomic>

#include "ado/connection.h"
#include "db/access.h"
#include "db/sybase.h"
#include "db/table_list.h"
#include "jet/database/new_database.h"
#include "page_harness.h"
#include "pages/form1.h"
#include "pages/form2.h"
#include "support/list_contents.h"
#include "support/odbc_sandbox.h"
#include "support/recording_providers.h"

namespace {

using pages::Pointer;
using pages_test::PageHarness;
using Statements = std::vector<std::string>;

void Click(QPushButton& button) {
  const QPointF at = QRectF(button.rect()).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, button.mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &event);
  }
}

void Type(QWidget& field, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
  QApplication::sendEvent(&field, &press);
}

QStringList Sorted(QStringList names) {
  names.sort(Qt::CaseInsensitive);
  return names;
}

void Select(QListWidget& list, const QStringList& names) {
  for (const QString& name : names) {
    const auto found = list.findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    found.first()->setSelected(true);
  }
}

class TableCommands : public testing::Test {
 protected:
  static void SetUpTestSuite() { PageHarness::PrepareDataSources(); }

  TableCommands() {
    static std::atomic<int> dataSources = 0;
    const std::string dsn = test_support::OdbcSandbox::instance().createDsn(
        "Commands" + std::to_string(++dataSources),
        {"CREATE TABLE a (id INTEGER)", "CREATE TABLE b (id INTEGER)", "CREATE TABLE c (id INTEGER)",
         "CREATE TABLE Orders (id INTEGER)", "CREATE TABLE \"we\"\"ird\" (id INTEGER)"});
    jet::write::createDatabase(accessPath.toStdString(), jet::write::NewFormat::Jet4);
    {
      ado::Connection access;
      access.open(db::AccessConnectionString(connection, accessPath, {}).toStdString());
      for (const char* table : {"a", "b", "c", "Orders"})
        access.execute(std::string("CREATE TABLE `") + table + "`(`id` INT);");
    }
    harness.context.createConnection = db::ConnectionsOver(&providers);
    connection.findChild<QLineEdit*>("Text1")->setText(accessPath);
    connection.findChild<QLineEdit*>("Text3")->setText(QString::fromStdString(dsn));
    connection.show();
    connection.PushButton4_Click();
    log->statements.clear();
  }

  pages::Form2& page() { return connection.form2(); }
  QListWidget& List1() { return page().List1(); }
  QListWidget& List2() { return page().List2(); }

  // What the databases hold now, read afresh.
  QStringList accessTables() {
    return Sorted(db::GetAccessTables(accessPath, connection, harness.prompter, db::ConnectionsOver())
                      .value_or(QStringList{}));
  }
  QStringList odbcTables() {
    QListWidget list;
    db::PrepareTableList(list);
    db::FillSybaseTableList(list, connection, db::ConnectionsOver());
    return fake::entries(list);
  }

  QTemporaryDir folder;
  QString accessPath = folder.filePath(QStringLiteral("shop.mdb"));
  std::shared_ptr<test_support::StatementLog> log = std::make_shared<test_support::StatementLog>();
  ado::ProviderRegistry providers = test_support::RecordingProviders(log);
  PageHarness harness;
  pages::Form1 connection{harness.context};
};

TEST_F(TableCommands, DropSendsOneStatementPerSelectedTableFromTheLastEntryOnBothSides) {
  ASSERT_EQ(fake::entries(List1()), QStringList({"a", "b", "c", "Orders"}));
  Select(List1(), {"a", "b", "c"});
  page().PushButton1_Click();
  EXPECT_EQ(log->statements, Statements({"DROP TABLE `c`;", "DROP TABLE `b`;", "DROP TABLE `a`;"}));
  EXPECT_EQ(fake::entries(List1()), QStringList({"Orders"}));
  EXPECT_EQ(accessTables(), QStringList({"Orders"}));

  log->statements.clear();
  Select(List2(), {"a", "c", "Orders"});
  List2().setCurrentRow(1, QItemSelectionModel::NoUpdate);
  page().PushButton5_Click();
  EXPECT_EQ(log->statements, Statements({"DROP TABLE \"Orders\"", "DROP TABLE \"c\"", "DROP TABLE \"a\""}));
  EXPECT_EQ(fake::entries(List2()), QStringList({"b", "we\"ird"}));
  EXPECT_EQ(odbcTables(), QStringList({"b", "we\"ird"}));
  EXPECT_TRUE(harness.prompter.calls().empty());
  EXPECT_EQ(page().pointer().value(), Pointer::kDefault);
}

TEST_F(TableCommands, DropAsksForACurrentEntryAndSendsNothingWithoutASelection) {
  ASSERT_EQ(List2().currentRow(), -1);  // the data source list is filled without one
  Select(List2(), {"a"});
  page().PushButton5_Click();
  ASSERT_EQ(List1().currentRow(), 0);
  page().PushButton1_Click();  // a current entry, nothing selected
  EXPECT_EQ(harness.prompter.messages(), std::vector<QString>{"Please select a table"});
  EXPECT_EQ(harness.prompter.calls()[0].style, app::kOkOnly);
  EXPECT_TRUE(log->statements.empty());
  EXPECT_EQ(List1().count(), 4);
  EXPECT_EQ(List2().count(), 5);
}

TEST_F(TableCommands, AFailingDropIsReportedAndTheWalkGoesOnWithoutTheEntry) {
  db::AddTableName(List2(), "ghost");
  Select(List2(), {"b", "ghost"});
  List2().setCurrentRow(0, QItemSelectionModel::NoUpdate);
  page().PushButton5_Click();
  EXPECT_EQ(log->statements, Statements({"DROP TABLE \"ghost\"", "DROP TABLE \"b\""}));
  const std::vector<QString> messages = harness.prompter.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].contains("no such table: ghost"));
  EXPECT_TRUE(messages[0].contains("\r\nin Ferrovale7/29/2014.Form2.PushButton5_Click at line 114"));
  EXPECT_EQ(fake::entries(List2()), QStringList({"a", "c", "Orders", "we\"ird"}));
  EXPECT_EQ(odbcTables(), QStringList({"a", "c", "Orders", "we\"ird"}));
}

TEST_F(TableCommands, NamesHoldingTheStatementsQuoteAreRefusedWithoutSending) {
  Select(List2(), {"a", "we\"ird"});
  List2().setCurrentRow(0, QItemSelectionModel::NoUpdate);
  page().PushButton5_Click();
  db::AddTableName(List1(), "x`y");
  Select(List1(), {"b", "x`y"});
  page().PushButton1_Click();

  EXPECT_EQ(log->statements, Statements({"DROP TABLE \"a\"", "DROP TABLE `b`;"}));
  const std::vector<QString> messages = harness.prompter.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_TRUE(messages[0].startsWith("The name we\"ird holds the character \" (U+0022)"));
  EXPECT_TRUE(messages[0].contains("PushButton5_Click at line 114"));
  EXPECT_TRUE(messages[1].startsWith("The name x`y holds the character ` (U+0060)"));
  EXPECT_TRUE(messages[1].contains("PushButton1_Click at line 116"));
  EXPECT_EQ(odbcTables(), QStringList({"b", "c", "Orders", "we\"ird"}));
  EXPECT_EQ(accessTables(), QStringList({"a", "c", "Orders"}));
}

TEST_F(TableCommands, AccessRenameCopiesAndReplacesTheEntriesOfBothNames) {
  Select(List1(), {"Orders"});
  harness.prompter.queueInput("Sales");
  page().PushButton6_Click();
  ASSERT_EQ(harness.prompter.calls().size(), 1u);
  EXPECT_EQ(harness.prompter.calls()[0].text, "Enter new name of Orders:");
  EXPECT_EQ(harness.prompter.calls()[0].defaultText, "Orders");
  EXPECT_EQ(log->statements,
            Statements({"SELECT a1.* INTO `Sales` FROM `Orders` AS a1;", "DROP TABLE `Orders`"}));
  EXPECT_EQ(fake::entries(List1()), QStringList({"a", "b", "c", "Sales"}));

  // Over an existing table, in another letter case: its entry goes too.
  Select(List1(), {"a"});
  harness.prompter.queueInput("B");
  harness.prompter.queueAnswer(app::kIdYes);
  page().PushButton6_Click();
  EXPECT_EQ(harness.prompter.calls()[2].text, "Would you like to overwrite B?");
  EXPECT_EQ(fake::entries(List1()), QStringList({"B", "c", "Sales"}));
  EXPECT_EQ(accessTables(), QStringList({"B", "c", "Sales"}));
  EXPECT_EQ(page().pointer().value(), Pointer::kDefault);
}

TEST_F(TableCommands, AFailedOrCancelledAccessRenameLeavesTheList) {
  Select(List1(), {"a"});
  harness.prompter.queueInput("");
  page().PushButton6_Click();
  harness.prompter.queueInput("x`y");
  page().PushButton6_Click();
  EXPECT_TRUE(log->statements.empty());
  const std::vector<QString> messages = harness.prompter.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].contains("holds the character ` (U+0060)"));
  EXPECT_TRUE(messages[0].contains("PushButton6_Click at line 120"));
  EXPECT_EQ(fake::entries(List1()), QStringList({"a", "b", "c", "Orders"}));
  EXPECT_EQ(page().pointer().value(), Pointer::kDefault);
}

TEST_F(TableCommands, DataSourceRenameSpeaksSqliteAndMakesEntryZeroCurrentUnselected) {
  Select(List2(), {"Orders"});
  List2().setCurrentRow(3, QItemSelectionModel::NoUpdate);
  harness.prompter.queueInput("Sales");
  page().PushButton7_Click();
  EXPECT_EQ(log->statements, Statements({"ALTER TABLE \"Orders\" RENAME TO \"Sales\""}));
  EXPECT_EQ(harness.prompter.calls().size(), 1u);  // the walk offered no second table
  EXPECT_EQ(fake::entries(List2()), QStringList({"a", "b", "c", "Sales", "we\"ird"}));
  EXPECT_EQ(List2().currentRow(), 0);
  EXPECT_TRUE(List2().selectedItems().isEmpty());
  EXPECT_EQ(odbcTables(), fake::entries(List2()));
  EXPECT_EQ(page().pointer().value(), Pointer::kDefault);
}

TEST_F(TableCommands, ADataSourceNamedSqlAnywhereGetsItsOwnRenameText) {
  log->dbmsName = "SQL Anywhere";
  Select(List2(), {"Orders"});
  List2().setCurrentRow(0, QItemSelectionModel::NoUpdate);
  harness.prompter.queueInput("Sales");
  page().PushButton7_Click();
  EXPECT_EQ(log->statements, Statements({"ALTER TABLE \"Orders\" RENAME \"Sales\";"}));
  // SQLite refuses that text; the list is updated all the same.
  ASSERT_EQ(harness.prompter.messages().size(), 1u);
  EXPECT_TRUE(harness.prompter.messages()[0].contains("PushButton7_Click at line 122"));
  EXPECT_TRUE(fake::entries(List2()).contains("Sales"));
  EXPECT_TRUE(odbcTables().contains("Orders"));
}

TEST_F(TableCommands, RenameWantsExactlyOneSelectedTable) {
  Select(List1(), {"a", "b"});
  Select(List2(), {"a", "b"});
  List2().setCurrentRow(0, QItemSelectionModel::NoUpdate);
  page().PushButton6_Click();
  page().PushButton7_Click();
  List1().clear();
  List2().clear();
  page().PushButton6_Click();
  page().PushButton7_Click();
  EXPECT_EQ(harness.prompter.messages(),
            std::vector<QString>(
                {"Please select just one table to rename.", "Please select just one table to rename.",
                 "Please select just one table to rename.", "Please select a table to rename."}));
  EXPECT_TRUE(log->statements.empty());
}

TEST_F(TableCommands, WhileACommandRunsThePagesTakeNoInput) {
  QLineEdit& dataSource = *connection.findChild<QLineEdit*>("Text3");
  QPushButton& selectAll = *page().findChild<QPushButton*>("PushButton8");
  const QString typed = dataSource.text();
  Select(List2(), {"Orders"});
  List2().setCurrentRow(0, QItemSelectionModel::NoUpdate);
  harness.prompter.queueInput("Sales");
  harness.prompter.whileNextBoxIsOpen = [&] {
    Click(selectAll);
    Type(dataSource, "x");
    EXPECT_EQ(List2().selectedItems().size(), 1);
    EXPECT_EQ(dataSource.text(), typed);
  };
  page().PushButton7_Click();
  EXPECT_EQ(log->statements.size(), 1u);

  Click(selectAll);
  Type(dataSource, "x");
  EXPECT_EQ(List2().selectedItems().size(), List2().count());
  EXPECT_EQ(dataSource.text(), typed + "x");
}

TEST_F(TableCommands, ClosingTheWindowDuringACommandEndsTheProgramOnceItStops) {
  Select(List2(), {"Orders"});
  List2().setCurrentRow(0, QItemSelectionModel::NoUpdate);
  harness.prompter.queueInput("Sales");
  harness.prompter.whileNextBoxIsOpen = [&] {
    page().close();
    EXPECT_EQ(harness.programEnds, 0);
  };
  page().PushButton7_Click();
  EXPECT_EQ(harness.programEnds, 1);
  EXPECT_TRUE(log->statements.empty());  // nothing after the input box ran
  EXPECT_TRUE(fake::entries(List2()).contains("Orders"));
}

}  // namespace
