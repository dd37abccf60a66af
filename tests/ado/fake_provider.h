// An in-memory provider that records what the ADO objects ask of it, so
// that Connection's and Recordset's own behaviour can be tested without a
// database.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ado/error.h"
#include "ado/provider.h"
#include "ado/provider_registry.h"

namespace fake {

// What the tests look at after the objects under test are gone.
struct Log {
  std::vector<std::string> executed;
  std::string lastConnectionString;
  ado::OpenOptions lastOptions;
  int fetches = 0;
  int sessionsOpen = 0;
};

class Cursor final : public ado::Cursor {
 public:
  Cursor(std::shared_ptr<Log> log, std::vector<std::vector<ado::Variant>> rows, long long known,
         bool failAfterFirstRow)
      : log_(std::move(log)), rows_(std::move(rows)), known_(known), failAfterFirstRow_(failAfterFirstRow) {}
  const std::vector<ado::ColumnInfo>& columns() const override { return columns_; }
  bool fetch(std::vector<ado::Variant>& row) override {
    ++log_->fetches;
    if (failAfterFirstRow_ && next_ == 1) throw ado::Error(-2147467259, "connection lost");
    if (next_ == rows_.size()) return false;
    row = rows_[next_++];
    return true;
  }
  long long knownRowCount() const override { return known_; }

 private:
  std::shared_ptr<Log> log_;
  std::vector<ado::ColumnInfo> columns_{{"Id", 3}, {"Name", 202}};
  std::vector<std::vector<ado::Variant>> rows_;
  std::size_t next_ = 0;
  long long known_;
  bool failAfterFirstRow_;
};

// Queries give three rows (1 "one", 2 "two", 3 Null); "known" in the SQL
// makes the cursor report its row count up front, "fail" makes it fail
// after the first row.
class Session final : public ado::Session {
 public:
  explicit Session(std::shared_ptr<Log> log) : log_(std::move(log)) { ++log_->sessionsOpen; }
  ~Session() override { --log_->sessionsOpen; }
  void execute(std::string_view sql) override { log_->executed.emplace_back(sql); }
  std::unique_ptr<ado::Cursor> query(std::string_view sql) override {
    using ado::Variant;
    return std::make_unique<Cursor>(
        log_,
        std::vector<std::vector<Variant>>{{Variant::int32(1), Variant::text("one")},
                                          {Variant::int32(2), Variant::text("two")},
                                          {Variant::int32(3), Variant::null()}},
        sql.find("known") != std::string_view::npos ? 3 : -1, sql.find("fail") != std::string_view::npos);
  }
  std::unique_ptr<ado::Cursor> tables() override { return query("schema"); }
  std::string dbmsName() override { return "Fake"; }

 private:
  std::shared_ptr<Log> log_;
};

class Provider final : public ado::Provider {
 public:
  explicit Provider(std::shared_ptr<Log> log) : log_(std::move(log)) {}
  std::unique_ptr<ado::Session> open(const ado::ConnectionString& properties,
                                     const ado::OpenOptions& options) override {
    log_->lastConnectionString = properties.get("Data Source").value_or("");
    log_->lastOptions = options;
    return std::make_unique<Session>(log_);
  }

 private:
  std::shared_ptr<Log> log_;
};

// A registry with the fake under `name`.
inline ado::ProviderRegistry registryWith(const std::string& name, const std::shared_ptr<Log>& log) {
  ado::ProviderRegistry registry;
  registry.add(name, [log] { return std::make_unique<Provider>(log); });
  return registry;
}

}  // namespace fake
