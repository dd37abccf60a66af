// An in-memory provider for gateway tests: it serves a table schema the
// test writes, records every open and every statement, and can fail on
// demand. With Access rules on, SELECT ... INTO and DROP TABLE change the
// schema the way Access would, names compared without regard to case.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ado/error.h"
#include "ado/provider_registry.h"
#include "ado/variant.h"

namespace fake {

struct SchemaRow {
  ado::Variant name;
  ado::Variant type;
};

struct OpenRecord {
  std::string provider;  // the name the registry was asked for
  std::optional<std::string> dataSource;
  std::optional<std::string> password;  // "JET OLEDB:Database Password"
};

struct Database {
  std::vector<SchemaRow> schema;
  bool accessRules = false;
  std::optional<ado::Error> openError;
  std::optional<ado::Error> schemaError;
  std::optional<std::string> failingStatement;  // raises when executed
  std::string dbmsName = "Fake";                // what its sessions report as their product

  std::vector<OpenRecord> opens;
  std::vector<std::string> statements;

  void addTable(const std::string& name, const std::string& type = "TABLE");
  // Names of the rows of type "TABLE", in schema order.
  std::vector<std::string> tableNames() const;
};

// Serves "MSDASQL", "Microsoft.Jet.OLEDB.4.0" and "Microsoft.ACE.OLEDB.12.0".
ado::ProviderRegistry registryFor(std::shared_ptr<Database> database);

}  // namespace fake
