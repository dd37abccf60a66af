// scripts/prepare-sample-settings seeds a first run with the sample
// databases. What matters: the program reads back exactly the values the
// script meant (also from a path with blanks and commas), the file holding
// the password is private, and nothing a user already has is replaced.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/saved_settings.h"
#include "file_mode.h"

namespace {

using app::SavedSettings;

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

class SampleSettingsScriptTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home.isValid());
    builtSample = home.filePath("built sample.mdb");
    writeFile(builtSample, "sample bytes");
  }

  // Runs the script in the private home; its exit status.
  int runScript(const QString& sample) {
    QProcess script;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    script.setProcessEnvironment(environment);
    script.start(QStringLiteral(FERROVALE_SOURCE_DIR "/scripts/prepare-sample-settings"), {sample});
    if (!script.waitForFinished(30000)) return -1;
    return script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1;
  }

  QString settingsFile() const { return home.filePath("config/Quorvane/Quorvane.conf"); }
  QString workingCopy() const { return home.filePath("data/Ferrovale/sample.mdb"); }

  QTemporaryDir home{QDir::tempPath() + "/fv home, a-XXXXXX"};
  QString builtSample;
};

TEST_F(SampleSettingsScriptTest, FirstRunSavesTheSampleDatabasesAsTheProgramReadsThem) {
  ASSERT_EQ(runScript(builtSample), 0);

  const SavedSettings saved(settingsFile());
  EXPECT_EQ(saved.read(SavedSettings::kAccessMdbFile).toStdString(), workingCopy().toStdString());
  EXPECT_EQ(saved.read(SavedSettings::kAccessPassword).toStdString(), "");
  EXPECT_EQ(saved.read(SavedSettings::kDataSourceName).toStdString(), "FerrovaleSample");
  EXPECT_EQ(contentsOf(workingCopy()), QByteArray("sample bytes"));
  EXPECT_EQ(modeOf(settingsFile()), 0600u);
  EXPECT_EQ(modeOf(home.filePath("config/Quorvane")), 0700u);
}

TEST_F(SampleSettingsScriptTest, SavedValuesAndAnExistingWorkingCopyAreLeftAlone) {
  ASSERT_TRUE(QDir().mkpath(home.filePath("data/Ferrovale")));
  writeFile(workingCopy(), "tables the user copied in");
  ASSERT_EQ(runScript(builtSample), 0);
  EXPECT_EQ(contentsOf(workingCopy()), QByteArray("tables the user copied in"));

  {
    SavedSettings saved(settingsFile());
    ASSERT_TRUE(saved.write(SavedSettings::kAccessMdbFile, "/home/me/shop.accdb"));
    ASSERT_TRUE(saved.write(SavedSettings::kDataSourceName, "Production"));
  }
  const QByteArray before = contentsOf(settingsFile());
  ASSERT_EQ(runScript(builtSample), 0);
  EXPECT_EQ(contentsOf(settingsFile()), before);
}

TEST_F(SampleSettingsScriptTest, AMissingSampleFailsAndSavesNothing) {
  EXPECT_NE(runScript(home.filePath("no such.mdb")), 0);
  EXPECT_FALSE(QFile::exists(settingsFile()));
  EXPECT_FALSE(QFile::exists(workingCopy()));
}

}  // namespace
