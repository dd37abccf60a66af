// The Access providers, "Microsoft.Jet.OLEDB.4.0" and
// "Microsoft.ACE.OLEDB.12.0". Both open any Access file the engine reads
// (the real ones differ in which formats they accept; here the newer
// engine's reach serves both names). The connection string gives the file
// as "Data Source", the database password as "JET OLEDB:Database Password"
// and, as "Jet OLEDB:Transaction Commit Mode=1", that every statement is
// synced to disk before it returns.
#pragma once

#include <functional>
#include <memory>

#include "ado/error.h"
#include "ado/provider.h"
#include "jet/error.h"

namespace ado::access {

class AccessProvider final : public Provider {
 public:
  std::unique_ptr<Session> open(const ConnectionString& properties, const OpenOptions& options) override;
};

// Runs `work`, turning engine errors into ado::Error with the same number
// and description.
template <typename Work>
auto translatingErrors(Work&& work) -> decltype(work()) {
  try {
    return work();
  } catch (const jet::Error& e) {
    throw Error(e.number(), e.description());
  }
}

}  // namespace ado::access
