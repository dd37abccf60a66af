#include "app/list_services.h"

#include <gtest/gtest.h>

#include <QListWidget>

namespace {

QListWidget& fill(QListWidget& list, const QStringList& texts) {
  list.addItems(texts);
  return list;
}

QStringList entries(const QListWidget& list) {
  QStringList texts;
  for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
  return texts;
}

TEST(ListContains, ComparesWithoutRegardToCase) {
  QListWidget list;
  fill(list, {"Customers", "ORDERS", "products"});
  EXPECT_TRUE(app::ListContains(list, "orders"));
  EXPECT_TRUE(app::ListContains(list, "PRODUCTS"));
  EXPECT_FALSE(app::ListContains(list, "order"));
  QListWidget empty;
  EXPECT_FALSE(app::ListContains(empty, ""));
}

TEST(RemoveListItem, RemovesOnlyExactMatches) {
  QListWidget list;
  fill(list, {"Orders", "orders_old", "Products"});
  app::RemoveListItem(list, "orders");
  EXPECT_EQ(entries(list), QStringList({"Orders", "orders_old", "Products"}));
  app::RemoveListItem(list, "Orders");
  EXPECT_EQ(entries(list), QStringList({"orders_old", "Products"}));
}

TEST(RemoveListItem, SkipsTheEntryThatMovesIntoTheRemovedPlace) {
  QListWidget twice;
  fill(twice, {"a", "dup", "dup", "z"});
  app::RemoveListItem(twice, "dup");
  EXPECT_EQ(entries(twice), QStringList({"a", "dup", "z"}));

  QListWidget thrice;
  fill(thrice, {"dup", "dup", "dup"});
  app::RemoveListItem(thrice, "dup");
  EXPECT_EQ(entries(thrice), QStringList({"dup"}));

  QListWidget apart;
  fill(apart, {"dup", "x", "dup"});
  app::RemoveListItem(apart, "dup");
  EXPECT_EQ(entries(apart), QStringList({"x"}));
}

TEST(RemoveListItem, LeavesAListWithoutTheTextAlone) {
  QListWidget list;
  fill(list, {"a", "b"});
  list.item(1)->setSelected(true);
  app::RemoveListItem(list, "c");
  EXPECT_EQ(entries(list), QStringList({"a", "b"}));
  EXPECT_TRUE(list.item(1)->isSelected());
  QListWidget empty;
  app::RemoveListItem(empty, "a");
  EXPECT_EQ(empty.count(), 0);
}

}  // namespace
