#include "two_sides.h"

#include <thread>

#include "ado/data_type.h"
#include "ado/error.h"

namespace transfer_test {
namespace {

class RowsCursor final : public ado::Cursor {
 public:
  RowsCursor(Table table, long long known) : table_(std::move(table)), known_(known) {}
  const std::vector<ado::ColumnInfo>& columns() const override { return table_.columns; }
  bool fetch(std::vector<ado::Variant>& row) override {
    if (next_ == table_.rows.size()) return false;
    row = table_.rows[next_++];
    return true;
  }
  long long knownRowCount() const override { return known_; }

 private:
  Table table_;
  std::size_t next_ = 0;
  long long known_;
};

// The table name between the quote characters after "FROM ".
std::string tableOf(std::string_view sql) {
  const std::size_t from = sql.find("FROM ");
  if (from == std::string_view::npos || from + 6 > sql.size()) return {};
  const std::string_view quoted = sql.substr(from + 5);
  return std::string(quoted.substr(1, quoted.size() - 2));
}

class StoreSession final : public ado::Session {
 public:
  explicit StoreSession(std::shared_ptr<Store> store) : store_(std::move(store)) {}
  void execute(std::string_view sql) override {
    store_->statements.emplace_back(sql);
    if (sql.starts_with("INSERT")) std::this_thread::sleep_for(store_->insertTime);
    if (!store_->rejectContaining.empty() && sql.find(store_->rejectContaining) != std::string_view::npos)
      throw ado::Error(ado::errc::kProviderFailure, "rejected by the test");
  }
  std::unique_ptr<ado::Cursor> query(std::string_view sql) override {
    const auto found = store_->tables.find(tableOf(sql));
    if (found == store_->tables.end()) throw ado::Error(ado::errc::kProviderFailure, "no such table");
    const Table& table = found->second;
    if (sql.starts_with("SELECT COUNT(*)")) {
      ++store_->counts;
      Table count{{{"COUNT(*)", ado::adInteger}},
                  {{ado::Variant::int32(static_cast<std::int32_t>(table.rows.size()))}}};
      return std::make_unique<RowsCursor>(std::move(count), -1);
    }
    return std::make_unique<RowsCursor>(
        table, store_->knowsRowCount ? static_cast<long long>(table.rows.size()) : -1);
  }
  std::string dbmsName() override { return store_->dbmsName; }
  std::unique_ptr<ado::Cursor> tables() override { throw ado::Error(ado::errc::kNotSupported, "not here"); }

 private:
  std::shared_ptr<Store> store_;
};

class StoreProvider final : public ado::Provider {
 public:
  explicit StoreProvider(std::shared_ptr<Store> store) : store_(std::move(store)) {}
  std::unique_ptr<ado::Session> open(const ado::ConnectionString&, const ado::OpenOptions&) override {
    return std::make_unique<StoreSession>(store_);
  }

 private:
  std::shared_ptr<Store> store_;
};

}  // namespace

ado::ProviderRegistry registryFor(std::shared_ptr<Store> odbc, std::shared_ptr<Store> access) {
  ado::ProviderRegistry registry;
  registry.add("MSDASQL", [odbc] { return std::make_unique<StoreProvider>(odbc); });
  for (const char* name : {"Microsoft.Jet.OLEDB.4.0", "Microsoft.ACE.OLEDB.12.0"})
    registry.add(name, [access] { return std::make_unique<StoreProvider>(access); });
  return registry;
}

FakePage::FakePage() : registry(registryFor(odbc, access)) {
  access->knowsRowCount = true;
}

}  // namespace transfer_test
