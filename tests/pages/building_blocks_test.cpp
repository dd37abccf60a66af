// The small pieces the pages are built from: twips, the dialog filter,
// the cursor file reader.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include "app/cursor_file.h"
#include "pages/common_dialog.h"
#include "pages/twips.h"

namespace {

TEST(TwipScale, FifteenTwipsMakeAPixelAt96Dpi) {
  const pages::TwipScale scale(96, 96);
  EXPECT_EQ(scale.x(15), 1);
  EXPECT_EQ(scale.x(8040), 536);
  EXPECT_EQ(scale.y(4095), 273);
  EXPECT_EQ(scale.rect(120, 3570, 7800, 405), QRect(8, 238, 520, 27));
}

TEST(TwipScale, FollowsTheResolutionAndRounds) {
  const pages::TwipScale scale(120, 144);
  EXPECT_EQ(scale.x(1440), 120);
  EXPECT_EQ(scale.y(1440), 144);
  EXPECT_EQ(scale.x(345), 29);                       // 28.75
  EXPECT_EQ(pages::TwipScale(96, 96).y(3598), 240);  // 239.87
}

TEST(CommonDialogFilter, BecomesQtNameFilters) {
  EXPECT_EQ(pages::NameFiltersFromCommonDialogFilter("Text (*.txt)|*.txt;*.log|All|*.*|"),
            QStringList({"Text (*.txt) (*.txt *.log)", "All (*.*)"}));
  EXPECT_EQ(pages::NameFiltersFromCommonDialogFilter("Odd|"), QStringList());
  EXPECT_EQ(pages::NameFiltersFromCommonDialogFilter(""), QStringList());
}

// Answers the file dialog that is about to open, once it is up.
void AnswerFileDialog(const std::function<void(QFileDialog&)>& answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
  });
}

TEST(QtFileOpenDialog, ShowsTheRequestAndCancelGivesTheEmptyText) {
  QString title;
  QStringList filters;
  bool readOnly = false;
  AnswerFileDialog([&](QFileDialog& dialog) {
    title = dialog.windowTitle();
    filters = dialog.nameFilters();
    readOnly = dialog.testOption(QFileDialog::ReadOnly);
    dialog.reject();
  });
  pages::QtFileOpenDialog dialog;
  const pages::FileOpenRequest request{
      "Select Access Database", {"Access (*.mdb) (*.*db)"}, pages::kOfnReadOnly | pages::kOfnExplorer};
  EXPECT_EQ(dialog.chooseFile(nullptr, request), "");
  EXPECT_EQ(title, "Select Access Database");
  EXPECT_EQ(filters, QStringList({"Access (*.mdb) (*.*db)"}));
  EXPECT_TRUE(readOnly);
}

TEST(QtFileOpenDialog, GivesTheChosenFilesFullPath) {
  QTemporaryDir folder;
  const QString path = folder.filePath("shop.mdb");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  AnswerFileDialog([&](QFileDialog& dialog) {
    dialog.setDirectory(folder.path());
    dialog.selectFile(path);
    static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept is protected
  });
  pages::QtFileOpenDialog dialog;
  EXPECT_EQ(dialog.chooseFile(nullptr, {"Pick", {"Access (*.mdb)"}, 0}), path);
}

QByteArray ShippedCursor() {
  QFile file(QStringLiteral(FERROVALE_RESOURCES_DIR "/HAND-M.CUR"));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CursorFile, TheShippedHandIsAWindowsCursorWithItsHotspot) {
  const QByteArray bytes = ShippedCursor();
  ASSERT_GE(bytes.size(), 22);
  EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 2), 2);  // type: cursor
  const auto cursor = app::ParseCursorFile(bytes);
  ASSERT_TRUE(cursor.has_value());
  EXPECT_EQ(cursor->image.size(), QSize(32, 32));
  EXPECT_EQ(cursor->hotspot, QPoint(5, 0));
  // The fingertip at the hotspot is drawn; the corner is see-through.
  EXPECT_EQ(qAlpha(cursor->image.pixel(5, 0)), 255);
  EXPECT_EQ(qAlpha(cursor->image.pixel(31, 31)), 0);
}

TEST(CursorFile, TakesTheHotspotFromTheDirectoryEntry) {
  QByteArray bytes = ShippedCursor();
  qToLittleEndian<quint16>(20, bytes.data() + 10);
  qToLittleEndian<quint16>(9, bytes.data() + 12);
  const auto cursor = app::ParseCursorFile(bytes);
  ASSERT_TRUE(cursor.has_value());
  EXPECT_EQ(cursor->hotspot, QPoint(20, 9));
}

TEST(CursorFile, RejectsWhatIsNotAUsableCursor) {
  const QByteArray good = ShippedCursor();
  QByteArray icon = good;
  qToLittleEndian<quint16>(1, icon.data() + 2);  // an icon file, no hotspot
  EXPECT_FALSE(app::ParseCursorFile(icon).has_value());
  QByteArray outside = good;
  qToLittleEndian<quint16>(32, outside.data() + 10);
  EXPECT_FALSE(app::ParseCursorFile(outside).has_value());
  EXPECT_FALSE(app::ParseCursorFile(good.left(21)).has_value());
  EXPECT_FALSE(app::ParseCursorFile(good.left(200)).has_value());
  EXPECT_FALSE(app::ParseCursorFile(QByteArray("not a cursor at all, not at all")).has_value());
  EXPECT_FALSE(app::ReadCursorFile(QStringLiteral("/nonexistent/HAND-M.CUR")).has_value());
}

}  // namespace
