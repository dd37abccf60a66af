#include "app/saved_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace app {

namespace {

constexpr char kApplication[] = "Quorvane";
constexpr char kSection[] = "Ferrovale";

QString userStorePath() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, kApplication, kApplication).fileName();
}

}  // namespace

SavedSettings::SavedSettings() : SavedSettings(userStorePath(), QSettings::NativeFormat) {}

SavedSettings::SavedSettings(const QString& filePath) : SavedSettings(filePath, QSettings::IniFormat) {}

SavedSettings::SavedSettings(const QString& filePath, QSettings::Format format)
    : settings_(filePath, format) {
  settings_.beginGroup(kSection);
}

QString SavedSettings::read(const QString& key) const {
  return settings_.value(key).toString();
}

bool SavedSettings::write(const QString& key, const QString& value) {
  // Created private before the first write: QSettings replaces the file
  // through a temporary copy that keeps the existing file's permissions,
  // so the password is never readable by others, not even for a moment.
  keepPrivate();
  settings_.setValue(key, value);
  settings_.sync();
  keepPrivate();
  return settings_.status() == QSettings::NoError;
}

void SavedSettings::keepPrivate() const {
#ifdef Q_OS_WIN
  // The registry keeps a user's values from other users by itself.
  if (settings_.format() == QSettings::NativeFormat) return;
#endif
  const QString path = settings_.fileName();
  const QString folder = QFileInfo(path).absolutePath();
  QDir().mkpath(folder);
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QFile file(path);
  if (!file.exists()) file.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::WriteOwner);
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

}  // namespace app
