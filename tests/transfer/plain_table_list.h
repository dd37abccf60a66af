// A table list without a window for the transfer tests: names in the
// order of the page's lists (alphabetical without regard to letter case),
// a selection and a current entry. A name stands at most once.
#pragma once

#include <QStringList>
#include <set>

#include "transfer/transfer_page.h"

namespace transfer_test {

class PlainTableList final : public transfer::TableListView {
 public:
  PlainTableList() = default;
  explicit PlainTableList(const QStringList& names);

  // Selects every entry equal to `name`; makes the first of them current.
  // False when there is none.
  bool select(const QString& name);
  QStringList names() const { return names_; }

  int currentIndex() const override { return current_; }
  int count() const override { return static_cast<int>(names_.size()); }
  bool isSelected(int index) const override { return selected_.contains(names_.at(index)); }
  QString text(int index) const override { return names_.at(index); }
  bool contains(const QString& name) const override;
  void remove(const QString& name) override;
  void add(const QString& name) override;

 private:
  QStringList names_;
  std::set<QString> selected_;
  int current_ = -1;
};

}  // namespace transfer_test
