#include "ado/provider_registry.h"

#include <algorithm>
#include <cctype>

#include "ado/error.h"

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

}  // namespace ado
