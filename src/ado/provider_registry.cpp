#include "ado/provider_registry.h"

#include <algorithm>
#include <cctype>

#include "ado/access/access_provider.h"
#include "ado/error.h"
#include "ado/odbc/msdasql_provider.h"

namespace ado {
namespace {

std::string lowerCased(std::string_view name) {
  std::string lower(name);
  std::ranges::transform(lower, lower.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

}  // namespace

void ProviderRegistry::add(std::string name, Factory factory) {
  factories_.insert_or_assign(lowerCased(name), std::move(factory));
}

std::unique_ptr<Provider> ProviderRegistry::create(std::string_view name) const {
  const auto found = factories_.find(lowerCased(name));
  if (found == factories_.end()) throw Error(errc::kProviderNotFound, text::kProviderNotFound);
  return found->second();
}

// Every provider the program ships, one line each.
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
