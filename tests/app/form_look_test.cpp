#include "app/form_look.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

TEST(CenterForm, PutsTheFormInTheMiddleOfItsScreen) {
  QWidget form;
  form.resize(300, 120);
  app::CenterForm(form);
  const QRect screen = form.screen()->geometry();
  EXPECT_EQ(form.pos(),
            QPoint(screen.x() + (screen.width() - 300) / 2, screen.y() + (screen.height() - 120) / 2));
  EXPECT_EQ(form.size(), QSize(300, 120));
}

TEST(CenterForm, AFormLargerThanTheScreenOverhangsEvenly) {
  QWidget form;
  const QRect screen = form.screen()->geometry();
  form.resize(screen.width() + 200, screen.height() + 100);
  app::CenterForm(form);
  EXPECT_EQ(form.pos(), QPoint(screen.x() - 100, screen.y() - 50));
}

// A page with each kind of control, inside and outside a frame.
struct Page {
  QWidget form;
  QGroupBox* frame = new QGroupBox("Access Database", &form);
  QLabel* label = new QLabel("MDB or ACCDB File:", frame);
  QCheckBox* check = new QCheckBox(&form);
  QRadioButton* option = new QRadioButton(frame);
  QLineEdit* field = new QLineEdit(frame);
  QPushButton* button = new QPushButton("Next >", &form);
  QListWidget* list = new QListWidget(&form);
};

bool hasOwnBackground(const QWidget& widget, const QColor& colour) {
  return widget.testAttribute(Qt::WA_SetPalette) && widget.autoFillBackground() &&
         widget.palette().color(QPalette::Window) == colour;
}

class SetFormColors : public testing::Test {
 protected:
  SetFormColors() : saved_(QApplication::palette()) {
    QPalette palette = saved_;
    palette.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(palette);
  }
  ~SetFormColors() override { QApplication::setPalette(saved_); }

 private:
  QPalette saved_;
};

TEST_F(SetFormColors, FramesLabelsCheckAndOptionButtonsTakeButtonFace) {
  Page page;
  app::SetFormColors(page.form);
  const QColor face(0x12, 0x34, 0x56);
  EXPECT_EQ(app::ButtonFaceColor(), face);
  EXPECT_TRUE(hasOwnBackground(page.form, face));
  EXPECT_TRUE(hasOwnBackground(*page.frame, face));
  EXPECT_TRUE(hasOwnBackground(*page.label, face));
  EXPECT_TRUE(hasOwnBackground(*page.check, face));
  EXPECT_TRUE(hasOwnBackground(*page.option, face));
  EXPECT_FALSE(page.field->testAttribute(Qt::WA_SetPalette));
  EXPECT_FALSE(page.button->testAttribute(Qt::WA_SetPalette));
  EXPECT_FALSE(page.list->testAttribute(Qt::WA_SetPalette));
}

}  // namespace
