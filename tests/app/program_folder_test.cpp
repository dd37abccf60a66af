#include "app/program_folder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

namespace {

TEST(ProgramFolder, IsTheExecutablesFolderWithoutTrailingSeparator) {
  const QString folder = app::ProgramFolder();
  EXPECT_EQ(folder, QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
  EXPECT_FALSE(folder.endsWith(QDir::separator()));
  EXPECT_TRUE(QDir(folder).exists(QStringLiteral("app_tests")));
}

TEST(ProgramFolder, SideFilesAreJoinedWithThePlatformSeparator) {
  const QString sep = QDir::separator();
  const QString folder = app::ProgramFolder();
  EXPECT_EQ(app::ProgramFile("HAND-M.CUR"), folder + sep + "HAND-M.CUR");
  EXPECT_EQ(app::ProgramFile("x", "o.cjs"), folder + sep + "x" + sep + "o.cjs");
  EXPECT_EQ(app::ProgramFile("Samples", "sample.mdb"), folder + sep + "Samples" + sep + "sample.mdb");
}

TEST(ProgramFolder, ARootFolderStillGivesAnAbsolutePath) {
  const QString sep = QDir::separator();
  EXPECT_EQ(app::JoinPath(QString(), {"x", "o.cjs"}), sep + "x" + sep + "o.cjs");
  EXPECT_EQ(app::JoinPath("folder", {}), QStringLiteral("folder"));
}

}  // namespace
