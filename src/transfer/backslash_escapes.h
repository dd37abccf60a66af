// Which database products read a backslash in a string literal as an
// escape: SQL Anywhere (also under its older name) and MySQL/MariaDB.
// A literal for them carries every backslash doubled.
#pragma once

#include <string_view>

namespace transfer {

inline bool ReadsBackslashEscapes(std::string_view dbmsName) {
  for (const std::string_view escaping : {"SQL Anywhere", "Adaptive Server Anywhere", "MySQL", "MariaDB"})
    if (dbmsName.find(escaping) != std::string_view::npos) return true;
  return false;
}

}  // namespace transfer
