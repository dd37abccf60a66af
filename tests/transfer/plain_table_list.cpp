#include "plain_table_list.h"

#include <algorithm>

namespace transfer_test {
namespace {

bool sortsBefore(const QString& a, const QString& b) {
  const int folded = QString::compare(a, b, Qt::CaseInsensitive);
  return folded != 0 ? folded < 0 : a < b;
}

}  // namespace

PlainTableList::PlainTableList(const QStringList& names) {
  for (const QString& name : names) add(name);
}

bool PlainTableList::select(const QString& name) {
  const auto found = std::find(names_.begin(), names_.end(), name);
  if (found == names_.end()) return false;
  selected_.insert(name);
  if (current_ == -1) current_ = static_cast<int>(found - names_.begin());
  return true;
}

bool PlainTableList::contains(const QString& name) const {
  const QString wanted = name.toLower();
  return std::any_of(names_.begin(), names_.end(),
                     [&](const QString& entry) { return entry.toLower() == wanted; });
}

void PlainTableList::remove(const QString& name) {
  names_.removeAll(name);
  selected_.erase(name);
}

void PlainTableList::add(const QString& name) {
  names_.insert(std::upper_bound(names_.begin(), names_.end(), name, sortsBefore), name);
}

}  // namespace transfer_test
