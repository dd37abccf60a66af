#include "db/table_list.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <stdexcept>

#include "support/list_contents.h"

namespace {

TEST(TableList, KeepsNamesInAlphabeticalOrderWhateverTheirCase) {
  QListWidget list;
  db::PrepareTableList(list);
  for (const char* name : {"orders", "Products", "customers", "Archive", "b_items"}) {
    db::AddTableName(list, name);
  }
  EXPECT_EQ(fake::entries(list), QStringList({"Archive", "b_items", "customers", "orders", "Products"}));
  EXPECT_EQ(list.selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST(TableList, NamesDifferingOnlyInCaseStayTogetherInAFixedOrder) {
  QListWidget list;
  db::PrepareTableList(list);
  for (const char* name : {"zeta", "Alpha", "alpha", "ALPHA"}) db::AddTableName(list, name);
  EXPECT_EQ(fake::entries(list), QStringList({"ALPHA", "Alpha", "alpha", "zeta"}));
}

TEST(TableList, AFullListRefusesTheNextName) {
  QListWidget list;
  db::PrepareTableList(list);
  for (int i = 0; i < db::kMaxTableListEntries; ++i) {
    db::AddTableName(list, QStringLiteral("t%1").arg(i, 5, 10, QLatin1Char('0')));
  }
  ASSERT_EQ(list.count(), 32767);
  EXPECT_THROW(db::AddTableName(list, QStringLiteral("one_more")), std::overflow_error);
  EXPECT_EQ(list.count(), 32767);
}

}  // namespace
