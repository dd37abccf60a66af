#include "support/recording_providers.h"

namespace test_support {

namespace {

class RecordingSession final : public ado::Session {
 public:
  RecordingSession(std::unique_ptr<ado::Session> real, std::shared_ptr<StatementLog> log)
      : real_(std::move(real)), log_(std::move(log)) {}

  void execute(std::string_view sql) override {
    log_->statements.emplace_back(sql);
    real_->execute(sql);
  }
  std::unique_ptr<ado::Cursor> query(std::string_view sql) override { return real_->query(sql); }
  std::unique_ptr<ado::Cursor> tables() override { return real_->tables(); }
  std::string dbmsName() override { return log_->dbmsName.value_or(real_->dbmsName()); }

 private:
  std::unique_ptr<ado::Session> real_;
  std::shared_ptr<StatementLog> log_;
};

class RecordingProvider final : public ado::Provider {
 public:
  RecordingProvider(std::unique_ptr<ado::Provider> real, std::shared_ptr<StatementLog> log)
      : real_(std::move(real)), log_(std::move(log)) {}

  std::unique_ptr<ado::Session> open(const ado::ConnectionString& properties,
                                     const ado::OpenOptions& options) override {
    return std::make_unique<RecordingSession>(real_->open(properties, options), log_);
  }

 private:
  std::unique_ptr<ado::Provider> real_;
  std::shared_ptr<StatementLog> log_;
};

}  // namespace

ado::ProviderRegistry RecordingProviders(std::shared_ptr<StatementLog> log) {
  ado::ProviderRegistry registry;
  for (const char* name : {"MSDASQL", "Microsoft.Jet.OLEDB.4.0", "Microsoft.ACE.OLEDB.12.0"}) {
    registry.add(name, [name, log] {
      return std::make_unique<RecordingProvider>(ado::builtinProviders().create(name), log);
    });
  }
  return registry;
}

}  // namespace test_support
