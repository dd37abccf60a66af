#include "ado/connection.h"

#include "ado/data_type.h"
#include "ado/error.h"
#include "ado/provider_registry.h"
#include "ado/recordset.h"

namespace ado {
namespace {

// ADO's default provider when neither the object nor the string names one.
constexpr const char* kDefaultProvider = "MSDASQL";

}  // namespace

Connection::Connection(const ProviderRegistry* registry) : registry_(registry) {}

Connection::~Connection() = default;

void Connection::requireClosed() const {
  if (isOpen()) throw Error(errc::kObjectOpen, text::kObjectOpen);
}

void Connection::setProvider(std::string provider) {
  requireClosed();
  provider_ = std::move(provider);
}

void Connection::setCursorLocation(int location) {
  if (location != adUseServer && location != adUseClient)
    throw Error(errc::kInvalidArgument, text::kInvalidArgument);
  options_.cursorLocation = location;
}

void Connection::setMode(int mode) {
  requireClosed();
  if (mode < 0) throw Error(errc::kInvalidArgument, text::kInvalidArgument);
  options_.mode = mode;
}

void Connection::open(std::string_view connectionString) {
  requireClosed();
  const ConnectionString properties = ConnectionString::parse(connectionString);
  std::string name = properties.get("Provider").value_or(provider_);
  if (name.empty()) name = kDefaultProvider;

  auto engine = registry_->create(name);
  session_ = engine->open(properties, options_);
  engine_ = std::move(engine);
  provider_ = std::move(name);
}

std::unique_ptr<Recordset> Connection::openSchema(int schema) {
  Session& open = session();
  if (schema != adSchemaTables) throw Error(errc::kNotSupported, text::kNotSupported);
  return std::make_unique<Recordset>(open.tables(), options_.cursorLocation);
}

void Connection::execute(std::string_view sql) {
  session().execute(sql);
}

std::string Connection::dbmsName() {
  return session().dbmsName();
}

void Connection::close() {
  session();  // raises when already closed, as ADO does
  session_.reset();
  engine_.reset();
}

Session& Connection::session() {
  if (!session_) throw Error(errc::kObjectClosed, text::kObjectClosed);
  return *session_;
}

}  // namespace ado
