// The table manager page: its load, its own buttons and its pointer.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "db/table_list.h"
#include "page_harness.h"
#include "pages/form1.h"
#include "pages/form2.h"
#include "support/list_contents.h"

namespace {

using pages::Pointer;
using pages_test::MoveMouseOver;
using pages_test::PageHarness;

int SelectedCount(const QListWidget& list) {
  return static_cast<int>(list.selectedItems().size());
}

class TableManager : public testing::Test {
 protected:
  static void SetUpTestSuite() { PageHarness::PrepareDataSources(); }

  TableManager() {
    connection.findChild<QLineEdit*>("Text1")->setText(harness.existingAccessFile());
    connection.findChild<QLineEdit*>("Text3")->setText(PageHarness::kShopDsn);
  }

  // "Next >" on the connection page, as the user reaches this page.
  pages::Form2& goForward() {
    connection.show();
    connection.PushButton4_Click();
    return connection.form2();
  }
  QPushButton& button(const char* name) { return *connection.form2().findChild<QPushButton*>(name); }

  PageHarness harness;
  pages::Form1 connection{harness.context};
};

TEST_F(TableManager, HasTheDesignedControls) {
  pages::Form2& page = connection.form2();
  EXPECT_EQ(page.windowTitle(), "Ferrovale");
  EXPECT_EQ(page.size(), QSize(536, 367));  // 8040 x 5505 twips
  EXPECT_EQ(page.findChild<QGroupBox*>("Frame1")->title(), "Access Tables");
  EXPECT_EQ(page.findChild<QGroupBox*>("Frame2")->title(), "Sybase iAnywhere Tables");
  const std::pair<const char*, const char*> captions[] = {{"PushButton10", "Select All"},
                                                          {"PushButton11", "Deselect All"},
                                                          {"PushButton3", "Send Table/s To Sybase iAny"},
                                                          {"PushButton1", "Delete Table/s"},
                                                          {"PushButton6", "Rename Table"},
                                                          {"PushButton8", "Select All"},
                                                          {"PushButton9", "Deselect All"},
                                                          {"PushButton4", "Send Table/s To Access"},
                                                          {"PushButton5", "Delete Table/s"},
                                                          {"PushButton7", "Rename Table"},
                                                          {"PushButton2", "< Back"},
                                                          {"PushButton12", "Help"}};
  for (const auto& [name, caption] : captions) EXPECT_EQ(button(name).text(), caption) << name;
  EXPECT_EQ(button("PushButton3").parentWidget()->objectName(), "Frame1");
  EXPECT_EQ(button("PushButton4").parentWidget()->objectName(), "Frame2");
  EXPECT_EQ(page.List2().geometry(), QRect(16, 24, 222, 109));
  EXPECT_EQ(page.ProgressBar1().minimum(), 0);
  EXPECT_EQ(page.ProgressBar1().maximum(), 100);
  for (QListWidget* list : {&page.List1(), &page.List2()}) {
    EXPECT_TRUE(list->isSortingEnabled());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
  }
}

TEST_F(TableManager, TabsFromTheDataSourceListThroughTheButtons) {
  pages::Form2& page = connection.form2();
  QStringList order;
  QWidget* widget = &page.List2();
  do {
    if (widget->focusPolicy() & Qt::TabFocus) order << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != &page.List2());
  EXPECT_EQ(order, QStringList({"List2", "List1", "PushButton10", "PushButton11", "PushButton3",
                                "PushButton1", "PushButton6", "PushButton8", "PushButton9", "PushButton4",
                                "PushButton5", "PushButton7", "PushButton2", "PushButton12"}));
  page.show();
  page.activateWindow();
  EXPECT_EQ(page.focusWidget(), &page.List2());
}

TEST_F(TableManager, SelectAllAndDeselectAllKeepTheCurrentEntryAndTheOtherList) {
  pages::Form2& page = goForward();
  page.List1().setCurrentRow(1, QItemSelectionModel::NoUpdate);
  page.List2().item(0)->setSelected(true);

  button("PushButton10").click();
  EXPECT_EQ(SelectedCount(page.List1()), 2);
  EXPECT_EQ(page.List1().currentRow(), 1);
  EXPECT_EQ(SelectedCount(page.List2()), 1);

  button("PushButton11").click();
  EXPECT_EQ(SelectedCount(page.List1()), 0);
  EXPECT_EQ(page.List1().currentRow(), 1);

  button("PushButton8").click();
  EXPECT_EQ(SelectedCount(page.List2()), 2);
  EXPECT_EQ(SelectedCount(page.List1()), 0);
  button("PushButton9").click();
  EXPECT_EQ(SelectedCount(page.List2()), 0);
  EXPECT_EQ(page.List2().currentRow(), -1);
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(TableManager, SelectAllOnAnEmptyListDoesNothing) {
  pages::Form2& page = connection.form2();
  page.PushButton10_Click();
  page.PushButton8_Click();
  EXPECT_EQ(page.List1().count(), 0);
  EXPECT_EQ(page.List2().count(), 0);
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(TableManager, BackThenNextShowsFreshListsWithoutTheOldSelection) {
  pages::Form2& page = goForward();
  page.PushButton10_Click();
  page.PushButton8_Click();
  button("PushButton2").click();
  EXPECT_TRUE(connection.isVisible());
  EXPECT_FALSE(page.isVisible());
  EXPECT_EQ(SelectedCount(page.List1()), 2);  // kept while hidden

  harness.access->addTable("Archive");
  goForward();
  EXPECT_EQ(&connection.form2(), &page);  // hidden, not made anew
  EXPECT_TRUE(page.isVisible());
  EXPECT_FALSE(connection.isVisible());
  EXPECT_EQ(fake::entries(page.List1()), QStringList({"Archive", "Customers", "Invoices"}));
  EXPECT_EQ(SelectedCount(page.List1()), 0);
  EXPECT_EQ(SelectedCount(page.List2()), 0);
}

TEST_F(TableManager, HelpShowsTheContactText) {
  connection.form2().PushButton12_Click();
  ASSERT_EQ(harness.prompter.calls().size(), 1u);
  const auto& help = harness.prompter.calls()[0];
  EXPECT_TRUE(help.text.startsWith("Questions? Please contact Team Quorvane at http"));
  EXPECT_EQ(help.style, app::kOkOnly);
  EXPECT_EQ(help.caption, "");
}

TEST_F(TableManager, TheSendButtonToAccessAsksForATableWhenItsListHasNoCurrentEntry) {
  pages::Form2& page = goForward();
  page.PushButton8_Click();  // selected, but no entry current
  button("PushButton4").click();
  EXPECT_EQ(harness.prompter.messages(), std::vector<QString>{"Please select a table to send."});
  EXPECT_EQ(page.pointer().value(), Pointer::kDefault);
  EXPECT_EQ(page.List1().count(), 2);
}

TEST_F(TableManager, HoverShowsTheHandOverButtonsAndTheArrowElsewhere) {
  harness.installHandCursor();
  pages::Form2& page = connection.form2();
  ASSERT_TRUE(page.pointer().hasCustomPicture());
  MoveMouseOver(button("PushButton8"));
  EXPECT_EQ(page.pointer().value(), Pointer::kCustom);
  EXPECT_EQ(page.cursor().shape(), Qt::BitmapCursor);
  MoveMouseOver(*page.List1().viewport());
  EXPECT_EQ(page.pointer().value(), Pointer::kDefault);
  MoveMouseOver(button("PushButton2"));
  MoveMouseOver(*page.findChild<QGroupBox*>("Frame2"));
  EXPECT_EQ(page.pointer().value(), Pointer::kDefault);
  MoveMouseOver(button("PushButton12"));
  MoveMouseOver(page.ProgressBar1());
  EXPECT_EQ(page.pointer().value(), Pointer::kCustom);  // the bar changes nothing
}

TEST_F(TableManager, HoverKeepsTheHourglassWhileACommandRuns) {
  pages::Form2& page = connection.form2();
  page.pointer().set(Pointer::kBusy);
  MoveMouseOver(button("PushButton3"));
  MoveMouseOver(*page.List2().viewport());
  MoveMouseOver(page);
  EXPECT_EQ(page.pointer().value(), Pointer::kBusy);
  EXPECT_EQ(page.cursor().shape(), Qt::WaitCursor);
}

// The page's load has no report of its own: a failure in it is reported
// by "Next >", which created the page, at the step that touched it.
TEST_F(TableManager, AFailingLoadIsReportedByNext) {
  harness.installUnreadableHandCursor();
  pages::Form2& page = goForward();
  const std::vector<QString> messages = harness.prompter.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].startsWith("Invalid picture\r\n"));
  EXPECT_TRUE(messages[0].contains("Form1.PushButton4_Click at line 106"));
  EXPECT_EQ(page.List1().count(), 0);  // the fill of step 106 was abandoned
  EXPECT_EQ(fake::entries(page.List2()), QStringList({"Orders", "Products"}));
  EXPECT_TRUE(page.isVisible());
}

TEST_F(TableManager, ClosingItEndsTheProgramThoughTheConnectionPageExists) {
  pages::Form2& page = goForward();
  page.close();
  EXPECT_EQ(harness.programEnds, 1);
}

}  // namespace
