// The program's test for a file before it opens a database or loads a
// side file.
#pragma once

#include <QString>

namespace db {

// True when the file system reports a date of last change for the path:
// an existing file or folder. Empty, missing, malformed or unreachable
// paths answer false; nothing is ever raised.
bool FileExists(const QString& path) noexcept;

}  // namespace db
