// The program folder (the executable's folder) and the side files found
// in it: the hand pointer, the skin and the sample database.
#pragma once

#include <QString>
#include <initializer_list>

namespace app {

// In native form, without a trailing separator ("" for the root folder,
// so that joining a part still gives an absolute path).
QString ProgramFolder();

// `folder` followed by each part, each after the platform's separator.
QString JoinPath(const QString& folder, std::initializer_list<QString> parts);

// ProgramFile("HAND-M.CUR"), ProgramFile("x", "o.cjs"), ProgramFile("Samples", "sample.mdb").
template <typename... Parts>
QString ProgramFile(const Parts&... parts) {
  return JoinPath(ProgramFolder(), {QString(parts)...});
}

}  // namespace app
