// Names go into SQL text between quote characters and are not escaped:
// doubling the quote is not understood by every server, and a name that
// closes the quote early lets the rest of it run as SQL (servers that take
// batches run it as a statement of its own). So a name holding the
// statement's quote character, or a control character, is refused before
// anything is sent.
#pragma once

#include <QChar>
#include <QString>
#include <optional>

namespace db {

inline constexpr QChar kAccessQuote = QLatin1Char('`');
inline constexpr QChar kOdbcQuote = QLatin1Char('"');

// The first character of `name` that a statement quoting names with
// `quote` cannot carry: the quote itself or one of U+0000 to U+001F.
std::optional<QChar> UnsendableCharacter(const QString& name, QChar quote);

// Raises ado::Error (errors in command) whose description names the name
// and the character, when the name holds such a character.
void RequireSendableName(const QString& name, QChar quote);

}  // namespace db
