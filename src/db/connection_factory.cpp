#include "db/connection_factory.h"

#include "ado/error.h"

namespace db {

namespace {
constexpr std::int32_t kCantCreateObject = 429;
}

ConnectionFactory ConnectionsOver(const ado::ProviderRegistry* registry) {
  return [registry] { return std::make_unique<ado::Connection>(registry); };
}

std::unique_ptr<ado::Connection> CreateConnection(const ConnectionFactory& factory) {
  std::unique_ptr<ado::Connection> connection = factory ? factory() : nullptr;
  if (!connection) throw ado::Error(kCantCreateObject, "ActiveX component can't create object");
  return connection;
}

}  // namespace db
