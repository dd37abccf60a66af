#include "app/skin.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include "app/form_look.h"

namespace {

const char kSheet[] = "QPushButton { border: 1px solid #336; }";

class ApplySkin : public testing::Test {
 protected:
  ApplySkin() { label = new QLabel("Data Source Name:", &form); }

  void writeSkin(const QByteArray& content) {
    ASSERT_TRUE(QDir(folder.path()).mkpath("x"));
    QFile skin(folder.filePath("x/o.cjs"));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.write(content);
  }

  bool untouched() const {
    return !form.testAttribute(Qt::WA_SetPalette) && !label->testAttribute(Qt::WA_SetPalette) &&
           form.styleSheet().isEmpty();
  }

  QTemporaryDir folder;
  QWidget form;
  QLabel* label;
};

TEST_F(ApplySkin, WithoutTheSkinFileNothingChanges) {
  app::ApplySkin(form, folder.path());
  EXPECT_TRUE(untouched());
}

TEST_F(ApplySkin, AFolderNamedLikeTheSkinIsNoSkin) {
  ASSERT_TRUE(QDir(folder.path()).mkpath("x/o.cjs"));
  app::ApplySkin(form, folder.path());
  EXPECT_TRUE(untouched());
}

TEST_F(ApplySkin, TheSkinFileColoursTheFormAndStylesIt) {
  writeSkin(kSheet);
  app::ApplySkin(form, folder.path());
  EXPECT_TRUE(form.testAttribute(Qt::WA_SetPalette));
  EXPECT_TRUE(label->testAttribute(Qt::WA_SetPalette));
  EXPECT_EQ(label->palette().color(QPalette::Window), app::ButtonFaceColor());
  EXPECT_EQ(form.styleSheet(), QString::fromLatin1(kSheet));
}

}  // namespace
