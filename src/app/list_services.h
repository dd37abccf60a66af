// The list services the transfers use on the table lists.
#pragma once

#include <QString>

class QListWidget;

namespace app {

// True when some entry equals `text` once both are lower-cased.
bool ListContains(const QListWidget& list, const QString& text);

// Removes the entries that equal `text` exactly (letter case counts).
// The walk reads the count once and advances its index after a removal
// as well, so of two equal entries in a row only the first goes; the
// transfers rely on a name standing at most once.
void RemoveListItem(QListWidget& list, const QString& text);

}  // namespace app
