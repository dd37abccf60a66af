#include "transfer/refused_name.h"

#include <stdexcept>

namespace transfer {

void RefuseUnquotableName(const char* what, const QString& name, QStringView quotes) {
  for (const QChar c : name) {
    const bool control = c.unicode() < 0x20 || c.unicode() == 0x7F;
    if (!control && !quotes.contains(c)) continue;
    const QString shown = control ? QStringLiteral("character %1").arg(c.unicode())
                                  : QStringLiteral("character %1").arg(c);
    throw std::invalid_argument(QStringLiteral("The %1 name %2 holds the %3, which cannot stand in "
                                               "a quoted name; it is not sent.")
                                    .arg(QLatin1String(what), name, shown)
                                    .toStdString());
  }
}

}  // namespace transfer
