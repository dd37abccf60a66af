// Doubles for the transfer: two in-memory databases behind the ODBC and
// the Access provider names, which serve the tables a test writes and
// record every statement, and a page with plain lists that records the
// progress, the pointer and the rows done.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ado/provider.h"
#include "ado/provider_registry.h"
#include "plain_table_list.h"
#include "support/scripted_prompter.h"
#include "transfer/transfer_page.h"

namespace transfer_test {

struct Table {
  std::vector<ado::ColumnInfo> columns;
  std::vector<std::vector<ado::Variant>> rows;
};

struct Store {
  std::map<std::string, Table> tables;      // by name as the query writes it
  std::vector<std::string> statements;      // executed, in order
  std::string rejectContaining;             // a statement holding this text fails
  std::chrono::milliseconds insertTime{0};  // each INSERT blocks this long
  bool knowsRowCount = false;               // the Access engine does
  int counts = 0;                           // SELECT COUNT(*) queries served
  std::string dbmsName = "SQLite";
};

// "MSDASQL" serves `odbc`, the Access providers serve `access`.
ado::ProviderRegistry registryFor(std::shared_ptr<Store> odbc, std::shared_ptr<Store> access);

class FakeFields : public db::ConnectionFields {
 public:
  QString accessPath() const override { return path; }
  QString accessPassword() const override { return {}; }
  QString dataSourceName() const override { return dsn; }
  QString path = QStringLiteral("/nowhere/test.mdb");
  QString dsn = QStringLiteral("Shop");
};

class FakePage : public transfer::TransferPage {
 public:
  FakePage();

  transfer::TableListView& list(transfer::ListName name) override {
    return name == transfer::ListName::List1 ? list1 : list2;
  }
  void setProgress(int percent) override { progress.push_back(percent); }
  void setPointer(transfer::PagePointer p) override { pointers.push_back(static_cast<int>(p)); }
  void processEvents() override { ++yields; }
  bool stopRequested() const override { return closeAfterYields > 0 && yields >= closeAfterYields; }
  void rowsDone(const QString&, long long done, long long total) override { lastRowsDone = {done, total}; }
  db::Prompter& prompter() override { return messages; }
  const db::ConnectionFields& connectionFields() const override { return fields; }
  // The built-in engines once a test has set useRealDatabases.
  const db::ConnectionFactory& connections() const override {
    return useRealDatabases ? builtIn : overStores;
  }

  std::shared_ptr<Store> odbc = std::make_shared<Store>();
  std::shared_ptr<Store> access = std::make_shared<Store>();
  ado::ProviderRegistry registry;
  db::ConnectionFactory overStores = db::ConnectionsOver(&registry);
  db::ConnectionFactory builtIn = db::ConnectionsOver();
  transfer_test::PlainTableList list1;
  transfer_test::PlainTableList list2;
  test_support::ScriptedPrompter messages;
  FakeFields fields;
  bool useRealDatabases = false;
  std::vector<int> progress;
  std::vector<int> pointers;
  int yields = 0;
  int closeAfterYields = 0;  // the window is closed once the event loop ran this often
  std::pair<long long, long long> lastRowsDone{0, 0};
};

}  // namespace transfer_test
