// The one way the program makes database connections: the gateways, the
// page commands and the command line all take a ConnectionFactory, so
// that a test (or another set of engines) replaces them in one place.
#pragma once

#include <functional>
#include <memory>

#include "ado/connection.h"
#include "ado/provider_registry.h"

namespace db {

using ConnectionFactory = std::function<std::unique_ptr<ado::Connection>()>;

// Connections over `registry`, which must outlive every use of the
// factory.
ConnectionFactory ConnectionsOver(const ado::ProviderRegistry* registry = &ado::builtinProviders());

// A new connection from `factory`. A factory that makes none raises what
// creating the connection object would raise: "ActiveX component can't
// create object" (429).
std::unique_ptr<ado::Connection> CreateConnection(const ConnectionFactory& factory);

}  // namespace db
