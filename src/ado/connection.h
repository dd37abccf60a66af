// ADODB.Connection: provider, cursor location and mode are set before
// open(); the connection closes itself when destroyed.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ado/provider.h"
#include "ado/provider_registry.h"

namespace ado {

class Recordset;

class Connection {
 public:
  // `registry` must outlive the connection.
  explicit Connection(const ProviderRegistry* registry = &builtinProviders());
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Provider and mode raise 3705 while open; the cursor location takes
  // only 2 (server) or 3 (client) and applies to record sets opened later.
  void setProvider(std::string provider);
  const std::string& provider() const { return provider_; }
  void setCursorLocation(int location);
  int cursorLocation() const { return options_.cursorLocation; }
  void setMode(int mode);
  int mode() const { return options_.mode; }

  // A "Provider=" in the string overrides the one set on the object;
  // with neither, the provider is "MSDASQL" as in ADO. Raises 3705 when
  // already open.
  void open(std::string_view connectionString);
  bool isOpen() const { return session_ != nullptr; }
  // adSchemaTables (20) is the one schema the program asks for.
  std::unique_ptr<Recordset> openSchema(int schema);
  void execute(std::string_view sql);
  // The database product of the open session; raises 3704 when closed.
  std::string dbmsName();
  // Raises 3704 when not open, as ADO does; the destructor closes quietly.
  void close();

  // The open session; raises "Operation is not allowed when the object is closed." (3704).
  Session& session();

 private:
  void requireClosed() const;

  const ProviderRegistry* registry_;
  std::string provider_;
  OpenOptions options_;
  // The provider stays alive as long as the session it opened.
  std::unique_ptr<Provider> engine_;
  std::unique_ptr<Session> session_;
};

}  // namespace ado
