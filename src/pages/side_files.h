// Files that ship beside the executable (src/CMakeLists.txt copies them).
#pragma once

namespace pages {

inline constexpr char kHandCursorFile[] = "HAND-M.CUR";
inline constexpr char kIconFile[] = "ferrovale.png";

}  // namespace pages
