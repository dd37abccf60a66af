#include "db/file_exists.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(FileExists, AnswersForFilesAndFoldersThatAreThere) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString file = folder.filePath("sample.mdb");
  EXPECT_FALSE(db::FileExists(file));
  QFile created(file);
  ASSERT_TRUE(created.open(QIODevice::WriteOnly));
  created.close();
  EXPECT_TRUE(db::FileExists(file));
  EXPECT_TRUE(db::FileExists(folder.path()));
}

TEST(FileExists, AnswersFalseForPathsThatCannotBeThere) {
  EXPECT_FALSE(db::FileExists(QString()));
  EXPECT_FALSE(db::FileExists(QStringLiteral("")));
  EXPECT_FALSE(db::FileExists(QStringLiteral("/no/such/folder/sample.mdb")));
  EXPECT_FALSE(db::FileExists(QString::fromUtf8("bad\0name", 8)));
  EXPECT_FALSE(db::FileExists(QStringLiteral("//unreachable-host/share/db.mdb")));
}

}  // namespace
