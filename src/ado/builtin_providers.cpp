// Every provider the program ships, one line each.
#include "ado/access/access_provider.h"
#include "ado/odbc/msdasql_provider.h"
#include "ado/provider_registry.h"

namespace ado {

const ProviderRegistry& builtinProviders() {
  static const ProviderRegistry registry = [] {
    ProviderRegistry r;
    r.add("MSDASQL", [] { return std::make_unique<odbc::MsdasqlProvider>(); });
    r.add("Microsoft.Jet.OLEDB.4.0", [] { return std::make_unique<access::AccessProvider>(); });
    r.add("Microsoft.ACE.OLEDB.12.0", [] { return std::make_unique<access::AccessProvider>(); });
    return r;
  }();
  return registry;
}

}  // namespace ado
