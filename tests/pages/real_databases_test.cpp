// Start-up with nothing faked but the message boxes: a real Access file
// through the program's own Access provider, a real data source through
// ODBC.
#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>

#include "support/list_contents.h"
#include "page_harness.h"
#include "pages/form1.h"
#include "pages/form2.h"

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
