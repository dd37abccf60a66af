// The table lists of the table manager page: one table name per entry,
// kept in alphabetical order (letter case aside, as a sorted Windows list
// box orders them), extended multiple selection, at most 32767 entries
// because the page counts them in signed 16 bits.
#pragma once

#include <QListWidget>
#include <QString>

namespace db {

inline constexpr int kMaxTableListEntries = 32767;

// Turns on sorting and extended selection.
void PrepareTableList(QListWidget& list);

// The list's plain add operation: the name takes its sorted place. Every
// entry of a table list must come through here, so that all entries
// compare alike. Raises std::overflow_error ("Overflow") on a full list.
void AddTableName(QListWidget& list, const QString& name);

}  // namespace db
