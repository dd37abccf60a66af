#include "app/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace app {

QString ProgramFolder() {
  QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
  while (folder.endsWith(QDir::separator())) folder.chop(1);
  return folder;
}

QString JoinPath(const QString& folder, std::initializer_list<QString> parts) {
  QString path = folder;
  for (const QString& part : parts) path += QDir::separator() + part;
  return path;
}

}  // namespace app
