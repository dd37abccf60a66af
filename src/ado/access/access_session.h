// An open Access database as the data access objects see it: the schema
// rowset of tables, a cursor over "SELECT * FROM `table`", and the
// statements that change the file (INSERT, CREATE TABLE, DROP TABLE,
// SELECT ... INTO).
//
// Every read opens the file anew, so that it sees what was written since,
// by this session or another: the engine's reader caches pages, and a
// cache kept across another writer's statements would mix old pages with
// new ones. Reading is cheap to start (the header and the catalog; the key
// of an encrypted file is kept while the header stays the same).
//
// The writer is made by the first statement that changes something, so
// that files the engine only reads (Access 97) open and list as
// before, and the writer's own refusal of them is the error of that
// statement. It holds the file for the session's lifetime: one writer per
// file.
#pragma once

#include <memory>
#include <string>

#include "ado/provider.h"
#include "jet/crypto/secret_bytes.h"
#include "jet/database/database.h"
#include "jet/database/database_writer.h"

namespace ado::access {

class AccessSession final : public Session {
 public:
  // `keys` holds the key of an encrypted file as opening it found it.
  AccessSession(std::string path, std::string password, jet::journal::SyncPolicy policy,
                jet::UnlockCache keys)
      : path_(std::move(path)), password_(std::move(password)), policy_(policy), keys_(std::move(keys)) {}
  ~AccessSession() override { jet::crypto::wipeText(password_); }
  AccessSession(const AccessSession&) = delete;
  AccessSession& operator=(const AccessSession&) = delete;

  void execute(std::string_view sql) override;
  std::unique_ptr<Cursor> query(std::string_view sql) override;
  std::unique_ptr<Cursor> tables() override;
  // What Microsoft's Access ODBC driver reports for SQL_DBMS_NAME.
  std::string dbmsName() override { return "ACCESS"; }

 private:
  std::shared_ptr<jet::Database> currentDatabase() const;
  jet::write::DatabaseWriter& writer();

  std::string path_;
  std::string password_;
  jet::journal::SyncPolicy policy_;
  mutable jet::UnlockCache keys_;
  std::unique_ptr<jet::write::DatabaseWriter> writer_;
};

}  // namespace ado::access
