#include "db/file_exists.h"

#include <QDateTime>
#include <QFileInfo>

namespace db {

bool FileExists(const QString& path) noexcept {
  try {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
  } catch (...) {
    // Only allocation can fail here; a question about a file must not
    // end the command that asked it.
    return false;
  }
}

}  // namespace db
