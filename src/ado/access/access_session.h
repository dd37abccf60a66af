// An open Access database as the data access objects see it: the schema
// rowset of tables, a cursor over "SELECT * FROM `table`", and the
// statements that change the file (INSERT, CREATE TABLE, DROP TABLE,
// SELECT ... INTO).
//
// Reading needs no more than the file; the writer is made by the first
// statement that changes something, so that files the engine only reads
// (Access 97, encrypted) open and list as before, and the writer's own
// refusal of them is the error of that statement. The writer holds the
// file for the session's lifetime, one writer per file.
#pragma once

#include <memory>
#include <string>

#include "ado/provider.h"
#include "jet/database.h"
#include "jet/write/database_writer.h"

namespace ado::access {

class AccessSession final : public Session {
 public:
  AccessSession(std::string path, std::string password, std::shared_ptr<jet::Database> database);

  void execute(std::string_view sql) override;
  std::unique_ptr<Cursor> query(std::string_view sql) override;
  std::unique_ptr<Cursor> tables() override;

 private:
  // The file as the last statement left it.
  jet::Database& database();
  jet::write::DatabaseWriter& writer();

  std::string path_;
  std::string password_;
  // Read through a page cache of its own that does not see what the writer
  // writes: dropped after every change and opened again when next needed.
  std::shared_ptr<jet::Database> database_;
  std::unique_ptr<jet::write::DatabaseWriter> writer_;
};

}  // namespace ado::access
