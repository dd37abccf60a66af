// Files that ship beside the executable (src/CMakeLists.txt copies them).
#pragma once

#include <QString>

#include "app/program_folder.h"

namespace pages {

inline constexpr char kHandCursorFile[] = "HAND-M.CUR";
inline constexpr char kIconFile[] = "ferrovale.png";

inline QString SideFile(const QString& programFolder, const char* name) {
  return app::JoinPath(programFolder, {QLatin1String(name)});
}

}  // namespace pages
