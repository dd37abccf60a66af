// Start-up with nothing faked but the message boxes: a real Access file
// through the program's own Access provider, a real data source through
// ODBC.
#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QProgressBar>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "page_harness.h"
#include "pages/form1.h"
#include "pages/form2.h"
#include "support/list_contents.h"
#include "support/odbc_sandbox.h"

namespace {

using pages_test::PageHarness;

TEST(RealDatabases, WorkingSavedValuesShowBothRealTableLists) {
  PageHarness::PrepareDataSources();
  PageHarness harness;
  harness.context.createConnection = db::ConnectionsOver();  // the built-in providers
  const QString copy = harness.programFolder() + "/indexTest.mdb";
  ASSERT_TRUE(QFile::copy(QStringLiteral(FERROVALE_FIXTURES "/jet4/indexTestV2003.mdb"), copy));
  harness.saveConnection(copy, "", PageHarness::kShopDsn);

  pages::Form1 form(harness.context);
  form.Form_Load();

  ASSERT_NE(form.loadedForm2(), nullptr);
  const pages::Form2& tables = *form.loadedForm2();
  EXPECT_TRUE(tables.isVisible());
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(fake::entries(tables.List1()), QStringList({"Table1", "Table2", "Table3"}));
  EXPECT_EQ(tables.List1().currentRow(), 0);
  EXPECT_EQ(fake::entries(tables.List2()), QStringList({"Orders", "Products"}));
  EXPECT_TRUE(harness.prompter.calls().empty());
}

}  // namespace

namespace {

void selectOnly(QListWidget& list, const QString& name) {
  const auto found = list.findItems(name, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1);
  list.setCurrentItem(found[0]);
  list.clearSelection();
  found[0]->setSelected(true);
}

TEST(RealDatabases, TheSendButtonsCopyTablesBothWaysAndListThem) {
  PageHarness::PrepareDataSources();
  const std::string dsn = test_support::OdbcSandbox::instance().createDsn(
      "PagesTransfer",
      {"CREATE TABLE \"Orders\"(id INTEGER, total REAL)", "INSERT INTO \"Orders\" VALUES(1, 2.5)"});
  PageHarness harness;
  harness.context.createConnection = db::ConnectionsOver();
  const QString copy = harness.programFolder() + "/indexTest.mdb";
  ASSERT_TRUE(QFile::copy(QStringLiteral(FERROVALE_FIXTURES "/jet4/indexTestV2003.mdb"), copy));
  QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  harness.saveConnection(copy, "", QString::fromStdString(dsn));
  pages::Form1 form(harness.context);
  form.Form_Load();
  ASSERT_NE(form.loadedForm2(), nullptr);
  pages::Form2& tables = *form.loadedForm2();

  selectOnly(tables.List1(), "Table1");
  tables.PushButton3_Click();
  selectOnly(tables.List2(), "Orders");
  tables.PushButton4_Click();

  EXPECT_TRUE(harness.prompter.calls().empty()) << harness.prompter.calls()[0].text.toStdString();
  EXPECT_EQ(fake::entries(tables.List2()), QStringList({"Orders", "table1"}));
  EXPECT_EQ(fake::entries(tables.List1()), QStringList({"Orders", "Table1", "Table2", "Table3"}));
  EXPECT_EQ(tables.ProgressBar1().value(), 0);
  ado::Connection odbc;
  odbc.open("Data Source=" + dsn);
  ado::Recordset copied;
  copied.open("SELECT COUNT(*) FROM \"table1\"", odbc);
  EXPECT_EQ(copied.field(0).value.textForm(), "4");
}

}  // namespace
