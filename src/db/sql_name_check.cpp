#include "db/sql_name_check.h"

#include "ado/error.h"

namespace db {

namespace {

bool isControl(QChar c) {
  return c.unicode() < 0x20;
}

QString codePoint(QChar c) {
  return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

// The name as a message can show it: control characters would break the
// line or vanish, so each stands as its code point in angle brackets.
QString shown(const QString& name) {
  QString text;
  for (QChar c : name) text += isControl(c) ? QLatin1Char('<') + codePoint(c) + QLatin1Char('>') : QString(c);
  return text;
}

}  // namespace

std::optional<QChar> UnsendableCharacter(const QString& name, QChar quote) {
  for (QChar c : name) {
    if (c == quote || isControl(c)) return c;
  }
  return std::nullopt;
}

void RequireSendableName(const QString& name, QChar quote) {
  const std::optional<QChar> bad = UnsendableCharacter(name, quote);
  if (!bad) return;
  const QString character = isControl(*bad) ? QStringLiteral("the control character ") + codePoint(*bad)
                                            : QStringLiteral("the character ") + *bad + QStringLiteral(" (") +
                                                  codePoint(*bad) + QLatin1Char(')');
  const QString description = QStringLiteral("The name ") + shown(name) + QStringLiteral(" holds ") +
                              character +
                              QStringLiteral(", which the statement cannot carry; nothing was sent.");
  throw ado::Error(ado::errc::kSyntaxError, description.toStdString());
}

}  // namespace db
