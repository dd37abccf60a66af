// Names go into SQL between quote characters without escaping, so a name
// holding a quote character or a control character is refused before it
// is used.
#pragma once

#include <QString>

namespace transfer {

// Raises std::invalid_argument naming `what` ("table", "field"), the name
// and the first such character.
void RefuseUnquotableName(const char* what, const QString& name, QStringView quotes);

}  // namespace transfer
