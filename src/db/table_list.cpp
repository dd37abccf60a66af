#include "db/table_list.h"

#include <QAbstractItemView>
#include <stdexcept>

namespace db {

namespace {

// Alphabetical without regard to letter case; names that differ only in
// case keep a fixed order among themselves.
class TableNameItem : public QListWidgetItem {
 public:
  explicit TableNameItem(const QString& name) : QListWidgetItem(name, nullptr, UserType) {}

  bool operator<(const QListWidgetItem& other) const override {
    const QString mine = text();
    const QString theirs = other.text();
    const int folded = QString::compare(mine, theirs, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : mine < theirs;
  }
};

}  // namespace

void PrepareTableList(QListWidget& list) {
  list.setSelectionMode(QAbstractItemView::ExtendedSelection);
  list.setSortingEnabled(true);
}

void AddTableName(QListWidget& list, const QString& name) {
  if (list.count() >= kMaxTableListEntries) throw std::overflow_error("Overflow");
  list.addItem(new TableNameItem(name));  // the list takes ownership
}

}  // namespace db
