// Executes the statements that change an Access database: INSERT,
// CREATE TABLE, DROP TABLE and SELECT ... INTO (a copy of a table's columns
// and rows, without its indexes, as Jet makes it). Each statement
// is all or nothing: its pages reach the file through the rollback journal
// in one step, or, when it fails, not at all. Encrypted files are written
// encrypted, page by page, as their scheme requires. Access 97 files,
// which the engine cannot write faithfully, are refused when opened.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "jet/database.h"
#include "jet/header.h"
#include "jet/journal/rollback_journal.h"
#include "jet/sql/statement.h"
#include "jet/write/page_store.h"
#include "jet/write/table_writer.h"

namespace jet::write {

class DatabaseWriter {
 public:
  // `keys`, when given, unlocks an encrypted file with a key found before.
  DatabaseWriter(const std::string& path, const std::string& password,
                 journal::SyncPolicy policy = journal::SyncPolicy::Off, UnlockCache* keys = nullptr);

  void insert(const sql::InsertValues& statement);
  void createTable(const sql::CreateTable& statement);
  void dropTable(const sql::DropTable& statement);
  void selectInto(const sql::SelectInto& statement);
  // Any of the above; a plain SELECT changes nothing and is refused here.
  void execute(const sql::Statement& statement);

 private:
  TableWriter& tableWriter(const std::string& table);
  bool tableExists(const std::string& name);
  void checkNewTable(const std::string& name, const std::vector<sql::ColumnDefinition>& columns);
  // Reads the catalog again after a statement changed it.
  void reopen();
  template <typename Change>
  void atomically(Change change);

  Header header_;  // read before store_ takes the file, which needs its page size
  PageStore store_;
  std::shared_ptr<Database> database_;  // reads through store_
  std::map<std::uint32_t, TableWriter> tables_;  // by TDEF page
  std::map<std::string, std::uint32_t> pageByName_;  // as statements named them
};

}  // namespace jet::write
