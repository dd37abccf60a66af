// Opening an Access session from a connection string.
#include "ado/access/access_provider.h"

#include "ado/access/access_session.h"
#include "ado/error.h"
#include "jet/database/database.h"

namespace ado::access {

std::unique_ptr<Session> AccessProvider::open(const ConnectionString& properties, const OpenOptions&) {
  const auto path = properties.get("Data Source");
  if (!path || path->empty())
    throw Error(errc::kProviderFailure, "The connection string names no data source (Data Source=<file>).");
  const std::string password = properties.get("JET OLEDB:Database Password").value_or("");
  // Opening checks the file and the password now, as the providers do.
  jet::UnlockCache keys;
  translatingErrors([&] { jet::Database::open(*path, password, keys); });
  // Jet's synchronous commit mode (1) puts every statement on the disk
  // before it returns; the default leaves writing back to the system.
  const bool synchronous = properties.get("Jet OLEDB:Transaction Commit Mode") == "1";
  return std::make_unique<AccessSession>(
      *path, password, synchronous ? jet::journal::SyncPolicy::Full : jet::journal::SyncPolicy::Off,
      std::move(keys));
}

}  // namespace ado::access
