// A transfer run without a window, for the command line: plain table
// lists, message boxes through the given prompter, no event loop to feed,
// and the rows done of each table written to a terminal when one is given.
#pragma once

#include <QString>
#include <cstdio>

#include "transfer/plain_table_list.h"
#include "transfer/transfer_page.h"

namespace transfer {

class HeadlessPage final : public TransferPage {
 public:
  // `progress` gets one line per table, rewritten as its rows go; null for none.
  HeadlessPage(db::Prompter& prompter, const db::ConnectionFields& fields,
               const ado::ProviderRegistry* providers, std::FILE* progress)
      : prompter_(prompter), fields_(fields), providers_(providers), progress_(progress) {}

  PlainTableList List1;  // the Access tables
  PlainTableList List2;  // the data source's tables

  TableListView& list(ListName name) override { return name == ListName::List1 ? List1 : List2; }
  void setProgress(int) override {}
  void setPointer(PagePointer) override {}
  void processEvents() override {}
  bool stopRequested() const override { return false; }
  void rowsDone(const QString& table, long long done, long long total) override;
  db::Prompter& prompter() override { return prompter_; }
  const db::ConnectionFields& connectionFields() const override { return fields_; }
  const ado::ProviderRegistry* providers() const override { return providers_; }

 private:
  db::Prompter& prompter_;
  const db::ConnectionFields& fields_;
  const ado::ProviderRegistry* providers_;
  std::FILE* progress_;
  long long shownPercent_ = -1;
};

}  // namespace transfer
