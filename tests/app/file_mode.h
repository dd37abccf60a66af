// The permission bits of a file, for tests that check what others may read.
#pragma once

#include <sys/stat.h>

#include <QFile>
#include <QString>

inline mode_t modeOf(const QString& path) {
  struct stat status {};
  if (::stat(QFile::encodeName(path).constData(), &status) != 0) return 0;
  return status.st_mode & 07777;
}
