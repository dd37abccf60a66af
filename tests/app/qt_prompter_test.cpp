#include "app/qt_prompter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QInputDialog>
#include <QMessageBox>

#include "dialog_responder.h"

namespace {

using test_support::DialogResponder;

struct Seen {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Qt::TextFormat format = Qt::AutoText;
};

// Shows a message box, notes what it looked like and presses `press`.
int showAndPress(const QString& text, int style, const QString& caption, QMessageBox::StandardButton press,
                 Seen& seen) {
  DialogResponder responder([&](QWidget& dialog) {
    auto& box = dynamic_cast<QMessageBox&>(dialog);
    seen = {box.windowTitle(), box.text(), box.icon(), box.standardButtons(), box.textFormat()};
    box.button(press)->click();
  });
  app::QtPrompter prompter;
  return prompter.messageBox(text, style, caption);
}

TEST(QtPrompter, OkBoxCarriesTheApplicationTitleByDefault) {
  Seen seen;
  EXPECT_EQ(showAndPress("Connection successful.", 0, {}, QMessageBox::Ok, seen), app::kIdOk);
  EXPECT_EQ(seen.title, QStringLiteral("Ferrovale"));
  EXPECT_EQ(seen.text, QStringLiteral("Connection successful."));
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(QtPrompter, YesNoBoxAnswersSixOrSeven) {
  Seen seen;
  EXPECT_EQ(showAndPress("Would you like to overwrite t?", 4, "Overwrite?", QMessageBox::Yes, seen),
            app::kIdYes);
  EXPECT_EQ(seen.title, QStringLiteral("Overwrite?"));
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(showAndPress("Would you like to overwrite t?", 4, "Overwrite?", QMessageBox::No, seen),
            app::kIdNo);
}

TEST(QtPrompter, ClosingAYesNoBoxAnswersNo) {
  DialogResponder responder([](QWidget& dialog) { dialog.close(); });
  app::QtPrompter prompter;
  EXPECT_EQ(prompter.messageBox("Overwrite?", 4), app::kIdNo);
}

TEST(QtPrompter, ExclamationReportShowsItsLineBreaksAsPlainText) {
  Seen seen;
  const QString report = QStringLiteral("<b>bad</b>\r\nin Ferrovale\r\rsql: SELECT 1 < 2");
  EXPECT_EQ(showAndPress(report, 48, "Application Error", QMessageBox::Ok, seen), app::kIdOk);
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.text, QStringLiteral("<b>bad</b>\nin Ferrovale\n\nsql: SELECT 1 < 2"));
}

TEST(QtPrompter, OtherIconsAndButtonSets) {
  Seen seen;
  EXPECT_EQ(showAndPress("x", 16, {}, QMessageBox::Ok, seen), app::kIdOk);
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(showAndPress("x", 64, {}, QMessageBox::Ok, seen), app::kIdOk);
  EXPECT_EQ(seen.icon, QMessageBox::Information);
  EXPECT_EQ(showAndPress("x", 32 + 1, {}, QMessageBox::Cancel, seen), app::kIdCancel);
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(showAndPress("x", 3, {}, QMessageBox::Cancel, seen), app::kIdCancel);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

TEST(QtPrompter, InputBoxOffersTheDefaultAndReturnsTheText) {
  QString title, label, offered;
  DialogResponder responder([&](QWidget& dialog) {
    auto& input = dynamic_cast<QInputDialog&>(dialog);
    title = input.windowTitle();
    label = input.labelText();
    offered = input.textValue();
    input.setTextValue(QStringLiteral("sales"));
    input.accept();
  });
  app::QtPrompter prompter;
  EXPECT_EQ(prompter.inputBox("Enter new name of orders:", "orders"), QStringLiteral("sales"));
  EXPECT_EQ(title, QStringLiteral("Ferrovale"));
  EXPECT_EQ(label, QStringLiteral("Enter new name of orders:"));
  EXPECT_EQ(offered, QStringLiteral("orders"));
}

TEST(QtPrompter, CancelledInputBoxGivesEmptyText) {
  DialogResponder responder([](QWidget& dialog) { dynamic_cast<QDialog&>(dialog).reject(); });
  app::QtPrompter prompter;
  EXPECT_EQ(prompter.inputBox("Enter new name of orders:", "orders", "Rename"), QString());
}

}  // namespace
