// The table manager page as the transfer sees it: its two lists, its
// progress bar, its pointer, the event loop, the message boxes and the
// connection page's values.
#pragma once

#include <QListWidget>

#include "transfer/transfer_page.h"

namespace pages {

class Form2;
struct PageContext;

class ListWidgetTables final : public transfer::TableListView {
 public:
  explicit ListWidgetTables(QListWidget& list) : list_(list) {}
  int currentIndex() const override { return list_.currentRow(); }
  int count() const override { return list_.count(); }
  bool isSelected(int index) const override;
  QString text(int index) const override;
  bool contains(const QString& name) const override;
  void remove(const QString& name) override;
  void add(const QString& name) override;

 private:
  QListWidget& list_;
};

class Form2TransferPage final : public transfer::TransferPage {
 public:
  Form2TransferPage(Form2& page, PageContext& context, const db::ConnectionFields& fields);

  transfer::TableListView& list(transfer::ListName name) override;
  void setProgress(int percent) override;
  void setPointer(transfer::PagePointer pointer) override;
  void processEvents() override;
  bool stopRequested() const override;
  void rowsDone(const QString& table, long long done, long long total) override;
  db::Prompter& prompter() override;
  const db::ConnectionFields& connectionFields() const override { return fields_; }
  const db::ConnectionFactory& connections() const override;

 private:
  Form2& page_;
  PageContext& context_;
  const db::ConnectionFields& fields_;
  ListWidgetTables list1_;
  ListWidgetTables list2_;
};

}  // namespace pages
