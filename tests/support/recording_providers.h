// The program's own providers with a window onto what reaches them: every
// statement executed is written down before it runs, and the product name
// a session reports can be replaced, so that a test sees which dialect a
// command chose while the statements still meet the real engines.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ado/provider_registry.h"

namespace test_support {

struct StatementLog {
  std::vector<std::string> statements;
  std::optional<std::string> dbmsName;  // reported instead of the real one
};

// Serves "MSDASQL", "Microsoft.Jet.OLEDB.4.0" and "Microsoft.ACE.OLEDB.12.0".
ado::ProviderRegistry RecordingProviders(std::shared_ptr<StatementLog> log);

}  // namespace test_support
