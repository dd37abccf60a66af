// The connection page's controls and handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "page_harness.h"
#include "pages/form1.h"
#include "pages/form2.h"
#include "support/list_contents.h"

namespace {

using pages::Pointer;
using pages_test::MoveMouseOver;
using pages_test::PageHarness;

class ConnectionPage : public testing::Test {
 protected:
  static void SetUpTestSuite() { PageHarness::PrepareDataSources(); }

  QLineEdit& field(const char* name) const { return *form.findChild<QLineEdit*>(name); }
  QPushButton& button(const char* name) const { return *form.findChild<QPushButton*>(name); }

  PageHarness harness;
  pages::Form1 form{harness.context};
};

TEST_F(ConnectionPage, HasTheDesignedControlsAt96Dpi) {
  EXPECT_EQ(form.size(), QSize(536, 273));  // 8040 x 4095 twips
  EXPECT_EQ(form.findChild<QGroupBox*>("Frame1")->title(), "Access Database");
  EXPECT_EQ(form.findChild<QGroupBox*>("Frame2")->title(), "Sybase iAnywhere Database");
  EXPECT_EQ(form.findChild<QLabel*>("Label5")->text(), "MDB or ACCDB File:");
  EXPECT_EQ(form.findChild<QLabel*>("lblPassword")->text(), "Password (if required):");
  EXPECT_EQ(form.findChild<QLabel*>("Label2")->text(), "Data Source Name:");
  EXPECT_EQ(button("PushButton1").text(), "...");
  EXPECT_EQ(button("PushButton2").text(), "Test Connection");
  EXPECT_EQ(button("PushButton3").text(), "Help");
  EXPECT_EQ(button("PushButton4").text(), "Next >");
  EXPECT_EQ(button("PushButton7").text(), "Load Sample/Example Database");
  // Inside frames positions count from the frame's corner.
  EXPECT_EQ(field("Text1").geometry(), QRect(152, 20, 313, 23));
  EXPECT_EQ(button("PushButton1").parentWidget()->objectName(), "Frame1");
  EXPECT_EQ(button("PushButton4").geometry(), QRect(8, 238, 520, 27));
  EXPECT_EQ(field("Text1").font().family(), "Arial");
  EXPECT_TRUE(field("Text1").font().bold());
  EXPECT_DOUBLE_EQ(button("PushButton4").font().pointSizeF(), 11.25);
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(ConnectionPage, TabsThroughTheFieldsAndButtonsInTheDesignedOrder) {
  QStringList order;
  QWidget* widget = &field("Text1");
  do {
    if (widget->focusPolicy() & Qt::TabFocus) order << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != &field("Text1"));
  EXPECT_EQ(order, QStringList({"Text1", "PushButton1", "Text2", "Text3", "PushButton2", "PushButton3",
                                "PushButton4", "PushButton7"}));
}

TEST_F(ConnectionPage, StartsWithTheFocusInTheAccessPath) {
  form.Form_Load();
  form.activateWindow();
  EXPECT_EQ(form.focusWidget(), &field("Text1"));
}

TEST_F(ConnectionPage, AFieldThatGetsTheFocusSelectsAllItsText) {
  for (const char* name : {"Text1", "Text2", "Text3"}) {
    QLineEdit& edit = field(name);
    edit.setText("some value");
    edit.setCursorPosition(3);
    QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&edit, &focus);
    EXPECT_EQ(edit.selectionStart(), 0) << name;
    EXPECT_EQ(edit.selectedText(), "some value") << name;
  }
}

TEST_F(ConnectionPage, ThePasswordIsHiddenButSavedAsTyped) {
  EXPECT_EQ(field("Text2").echoMode(), QLineEdit::Password);
  EXPECT_EQ(
      field("Text2").style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, &field("Text2")),
      '*');
  field("Text2").setText("s3cr et;");
  EXPECT_EQ(harness.saved(app::SavedSettings::kAccessPassword), "s3cr et;");
  field("Text2").clear();
  EXPECT_EQ(harness.saved(app::SavedSettings::kAccessPassword), "");
}

TEST_F(ConnectionPage, EveryKeystrokeIsSaved) {
  for (QChar c : QStringLiteral("DSN")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&field("Text3"), &press);
    EXPECT_EQ(harness.saved(app::SavedSettings::kDataSourceName), field("Text3").text());
  }
  EXPECT_EQ(harness.saved(app::SavedSettings::kDataSourceName), "DSN");
  field("Text1").setText("/a/b.mdb");
  EXPECT_EQ(harness.saved(app::SavedSettings::kAccessMdbFile), "/a/b.mdb");
}

TEST_F(ConnectionPage, BrowseAsksForAnAccessFileWithTheThreeFilters) {
  harness.fileDialog.answer = "/data/shop.accdb";
  button("PushButton1").click();
  ASSERT_EQ(harness.fileDialog.requests.size(), 1u);
  const pages::FileOpenRequest& request = harness.fileDialog.requests[0];
  EXPECT_EQ(request.title, "Select Access Database");
  EXPECT_EQ(request.flags, 0x280001);
  EXPECT_EQ(request.nameFilters, QStringList({"All Microsoft Databases (*.mdb,*.accdb) (*.*db)",
                                              "Microsoft Database (*.mdb) (*.mdb)",
                                              "Microsoft 2007 Database (*.accdb) (*.accdb)"}));
  EXPECT_EQ(field("Text1").text(), "/data/shop.accdb");
  EXPECT_EQ(harness.saved(app::SavedSettings::kAccessMdbFile), "/data/shop.accdb");
}

TEST_F(ConnectionPage, CancellingTheFileDialogChangesNothing) {
  field("Text1").setText("/kept.mdb");
  harness.settings.write(QLatin1String(app::SavedSettings::kAccessMdbFile), "written elsewhere");
  harness.fileDialog.answer.clear();
  form.PushButton1_Click();
  EXPECT_EQ(field("Text1").text(), "/kept.mdb");
  EXPECT_EQ(harness.saved(app::SavedSettings::kAccessMdbFile), "written elsewhere");
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(ConnectionPage, SampleDatabaseFillsInThePathOnly) {
  field("Text2").setText("pw");
  field("Text3").setText("Sales");
  form.PushButton7_Click();
  const QString sample = harness.programFolder() + "/Samples/sample.mdb";
  EXPECT_EQ(field("Text1").text(), sample);
  EXPECT_EQ(harness.saved(app::SavedSettings::kAccessMdbFile), sample);
  EXPECT_EQ(field("Text2").text(), "pw");
  EXPECT_EQ(field("Text3").text(), "Sales");
  // The sample is not there, so "Next >" does nothing.
  form.PushButton4_Click();
  EXPECT_EQ(form.loadedForm2(), nullptr);
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(ConnectionPage, TestConnectionReportsSuccessAlone) {
  field("Text3").setText(PageHarness::kShopDsn);
  form.PushButton2_Click();
  EXPECT_EQ(harness.prompter.messages(), std::vector<QString>{"Connection successful."});
  EXPECT_EQ(harness.prompter.calls()[0].style, app::kOkOnly);
  EXPECT_EQ(form.pointer().value(), Pointer::kDefault);
}

TEST_F(ConnectionPage, TestConnectionReportsFailureAlone) {
  for (const char* dsn : {PageHarness::kBrokenDsn, ""}) {
    field("Text3").setText(dsn);
    form.PushButton2_Click();
    EXPECT_EQ(form.pointer().value(), Pointer::kDefault);
  }
  EXPECT_EQ(harness.prompter.messages(), std::vector<QString>({"Could not connect.", "Could not connect."}));
}

TEST_F(ConnectionPage, TestConnectionWithoutDataAccessObjectsReportsThenFails) {
  harness.connectionsCanBeCreated = false;
  field("Text3").setText(PageHarness::kShopDsn);
  form.PushButton2_Click();
  const std::vector<QString> messages = harness.prompter.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_TRUE(messages[0].contains("Form1.PushButton2_Click at line 100"));
  EXPECT_EQ(messages[1], "Could not connect.");
}

TEST_F(ConnectionPage, HelpShowsTheTenSetUpLines) {
  form.PushButton3_Click();
  ASSERT_EQ(harness.prompter.calls().size(), 1u);
  const auto& help = harness.prompter.calls()[0];
  EXPECT_EQ(help.style, app::kOkOnly);
  EXPECT_EQ(help.caption, "");
  ASSERT_TRUE(help.text.endsWith("\r\r"));
  const QStringList lines = help.text.chopped(2).split("\r\r");
  ASSERT_EQ(lines.size(), 10);
  EXPECT_EQ(lines[0], "Here is how I connected to my Sybase database.");
  EXPECT_TRUE(lines[2].startsWith("2. ") && lines[2].contains("developer key"));
  EXPECT_EQ(lines[4], "4. Clicked 'Add...' ");
  EXPECT_EQ(lines[9], "9. Clicked 'Test Connection' in my program.");
  EXPECT_FALSE(help.text.contains('\n'));
}

TEST_F(ConnectionPage, NextWithBothWorkingShowsTheFilledTableManager) {
  field("Text1").setText(harness.existingAccessFile());
  field("Text3").setText(PageHarness::kShopDsn);
  form.show();
  form.PushButton4_Click();
  ASSERT_NE(form.loadedForm2(), nullptr);
  pages::Form2& tables = *form.loadedForm2();
  EXPECT_TRUE(tables.isVisible());
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(fake::entries(tables.List1()), QStringList({"Customers", "Invoices"}));
  EXPECT_EQ(tables.List1().currentRow(), 0);
  EXPECT_TRUE(tables.List1().selectedItems().isEmpty());
  EXPECT_EQ(fake::entries(tables.List2()), QStringList({"Orders", "Products"}));
  EXPECT_EQ(form.pointer().value(), Pointer::kDefault);
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(ConnectionPage, NextWithAFailingDataSourceOnlyResetsThePointer) {
  field("Text1").setText(harness.existingAccessFile());
  field("Text3").setText(PageHarness::kBrokenDsn);
  form.show();
  form.PushButton4_Click();
  EXPECT_EQ(form.loadedForm2(), nullptr);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.pointer().value(), Pointer::kDefault);
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(ConnectionPage, ButtonsShowTheHandAndTheRestTheArrow) {
  harness.installHandCursor();
  form.Form_Load();
  MoveMouseOver(button("PushButton4"));
  EXPECT_EQ(form.pointer().value(), Pointer::kCustom);
  EXPECT_EQ(form.cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(form.cursor().hotSpot(), QPoint(5, 0));
  MoveMouseOver(form);
  EXPECT_EQ(form.pointer().value(), Pointer::kDefault);
  EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
  // A button inside a frame: the frame must not take the move for its own.
  MoveMouseOver(button("PushButton2"));
  EXPECT_EQ(form.pointer().value(), Pointer::kCustom);
  MoveMouseOver(field("Text3"));
  EXPECT_EQ(form.pointer().value(), Pointer::kDefault);
  MoveMouseOver(button("PushButton1"));
  MoveMouseOver(*form.findChild<QGroupBox*>("Frame1"));
  EXPECT_EQ(form.pointer().value(), Pointer::kDefault);
}

TEST_F(ConnectionPage, WithoutTheCursorFileTheHandLooksLikeTheArrow) {
  form.Form_Load();
  MoveMouseOver(button("PushButton4"));
  EXPECT_EQ(form.pointer().value(), Pointer::kCustom);
  EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ConnectionPage, TheHourglassStaysWhileBusy) {
  form.pointer().set(Pointer::kBusy);
  MoveMouseOver(button("PushButton4"));
  MoveMouseOver(form);
  MoveMouseOver(field("Text1"));
  EXPECT_EQ(form.pointer().value(), Pointer::kBusy);
  EXPECT_EQ(form.cursor().shape(), Qt::WaitCursor);
}

// Mouse moves that arrive while "Next >" fills the lists (it lets the event
// loop run) must not replace the hourglass.
TEST_F(ConnectionPage, MouseMovesDuringNextKeepTheHourglass) {
  field("Text1").setText(harness.existingAccessFile());
  field("Text3").setText(PageHarness::kShopDsn);
  // Posted events are delivered in order: the move, then the look at the
  // pointer once the hover rules have seen the move.
  struct PointerWatch : QObject {
    const pages::PagePointer* pointer = nullptr;
    std::vector<Pointer> seen;
    void customEvent(QEvent*) override { seen.push_back(pointer->value()); }
  } watch;
  watch.pointer = &form.pointer();
  QPushButton& next = button("PushButton4");
  QCoreApplication::postEvent(
      &next, new QMouseEvent(QEvent::MouseMove, QPointF(2, 2), next.mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier));
  QCoreApplication::postEvent(&watch, new QEvent(QEvent::User));
  form.PushButton4_Click();
  ASSERT_EQ(watch.seen.size(), 1u);
  EXPECT_EQ(watch.seen[0], Pointer::kBusy);
  EXPECT_EQ(form.pointer().value(), Pointer::kDefault);
}

}  // namespace
