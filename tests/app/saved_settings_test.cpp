#include "app/saved_settings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "file_mode.h"

namespace {

using app::SavedSettings;

// Sets the process umask for the life of the object.
class Umask {
 public:
  explicit Umask(mode_t mask) : previous_(::umask(mask)) {}
  ~Umask() { ::umask(previous_); }

 private:
  mode_t previous_;
};

class SavedSettingsTest : public testing::Test {
 protected:
  QString storePath() const { return root.filePath("Quorvane/Quorvane.ini"); }
  QTemporaryDir root;
};

TEST_F(SavedSettingsTest, KeysNeverWrittenReadAsEmptyText) {
  const SavedSettings settings(storePath());
  EXPECT_EQ(settings.read(SavedSettings::kAccessMdbFile), QString(""));
  EXPECT_EQ(settings.read(SavedSettings::kAccessPassword), QString(""));
  EXPECT_EQ(settings.read(SavedSettings::kDataSourceName), QString(""));
}

TEST_F(SavedSettingsTest, ValuesComeBackExactlyAsWritten) {
  const QString path = QStringLiteral("C:\\Data\\Shop, 2014\\my db.accdb");
  const QString password = QStringLiteral(" p@ss;w=rd,\"x\" ");
  const QString odd = QStringLiteral("@Invalid()");
  {
    SavedSettings settings(storePath());
    ASSERT_TRUE(settings.write(SavedSettings::kAccessMdbFile, path));
    ASSERT_TRUE(settings.write(SavedSettings::kAccessPassword, password));
    ASSERT_TRUE(settings.write(SavedSettings::kDataSourceName, odd));
  }
  const SavedSettings reread(storePath());
  EXPECT_EQ(reread.read(SavedSettings::kAccessMdbFile), path);
  EXPECT_EQ(reread.read(SavedSettings::kAccessPassword), password);
  EXPECT_EQ(reread.read(SavedSettings::kDataSourceName), odd);

  QFile file(storePath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.contains("[Ferrovale]"));
  EXPECT_TRUE(text.contains("AccessMDBFile="));
  EXPECT_TRUE(text.contains("DataSourceName="));
}

TEST_F(SavedSettingsTest, AnEmptiedFieldIsStoredAsEmptyText) {
  SavedSettings settings(storePath());
  settings.write(SavedSettings::kAccessPassword, "secret");
  settings.write(SavedSettings::kAccessPassword, "");
  EXPECT_EQ(SavedSettings(storePath()).read(SavedSettings::kAccessPassword), QString(""));
}

TEST_F(SavedSettingsTest, TheFileAndItsFolderArePrivateUnderALooseUmask) {
  for (const mode_t mask : {mode_t{022}, mode_t{0}}) {
    QTemporaryDir fresh;
    const QString path = fresh.filePath("Quorvane/Quorvane.ini");
    Umask loose(mask);
    SavedSettings settings(path);
    ASSERT_TRUE(settings.write(SavedSettings::kAccessPassword, "secret"));
    EXPECT_EQ(modeOf(path), mode_t{0600}) << "umask " << mask;
    EXPECT_EQ(modeOf(fresh.filePath("Quorvane")), mode_t{0700}) << "umask " << mask;
  }
}

TEST_F(SavedSettingsTest, AnExistingLooseFileIsMadePrivate) {
  QDir(root.path()).mkpath("Quorvane");
  QFile loose(storePath());
  ASSERT_TRUE(loose.open(QIODevice::WriteOnly));
  loose.write("[Ferrovale]\nDataSourceName=Shop\n");
  loose.close();
  ASSERT_TRUE(QFile::setPermissions(
      storePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
  SavedSettings settings(storePath());
  EXPECT_EQ(settings.read(SavedSettings::kDataSourceName), QStringLiteral("Shop"));
  settings.write(SavedSettings::kAccessPassword, "secret");
  EXPECT_EQ(modeOf(storePath()), mode_t{0600});
}

TEST_F(SavedSettingsTest, TheUsersStoreIsQuorvaneInItsConfigurationFolder) {
  // Moves the per-user configuration folder of this process into the
  // temporary folder, so the user's real file is never touched.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root.path());
  SavedSettings settings;
  EXPECT_EQ(settings.fileName(), root.filePath("Quorvane/Quorvane.conf"));
  ASSERT_TRUE(settings.write(SavedSettings::kDataSourceName, "Shop"));
  EXPECT_EQ(SavedSettings().read(SavedSettings::kDataSourceName), QStringLiteral("Shop"));
  EXPECT_EQ(modeOf(settings.fileName()), mode_t{0600});
}

}  // namespace
