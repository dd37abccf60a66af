// Maps provider names (any letter case) to the engines that serve them.
// builtinProviders() lists every provider the program ships; adding one
// is a line in builtin_providers.cpp and nothing else.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ado/provider.h"

namespace ado {

class ProviderRegistry {
 public:
  using Factory = std::function<std::unique_ptr<Provider>()>;

  void add(std::string name, Factory factory);
  // Raises "Provider cannot be found. It may not be properly installed." (3706).
  std::unique_ptr<Provider> create(std::string_view name) const;

 private:
  std::map<std::string, Factory> factories_;  // keyed by lower-cased name
};

// Defined by the library ferrovale_ado_providers, which links every
// provider; the data access objects themselves link none, so a program
// that brings its own registry carries no engine it does not use.
const ProviderRegistry& builtinProviders();

}  // namespace ado
