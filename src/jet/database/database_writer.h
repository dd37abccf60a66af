// Carries out the changes the statements of the SQL layer ask for
// (sql/executor.h): inserting a row, creating and dropping a table, and
// copying one (SELECT ... INTO: a table's columns and rows, without its
// indexes, as Jet makes it). Each change is all or nothing: its pages reach the file through the rollback
// journal in one step, or, when it fails, not at all. Encrypted files are written encrypted, page by page, as
// their scheme requires. Access 97 files, which the engine cannot write faithfully, are refused when opened.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "jet/convert/input_value.h"
#include "jet/database/database.h"
#include "jet/database/table_writer.h"
#include "jet/file/header.h"
#include "jet/journal/page_store.h"
#include "jet/journal/rollback_journal.h"
#include "jet/table/new_column.h"

namespace jet::write {

class DatabaseWriter {
 public:
  // `keys`, when given, unlocks an encrypted file with a key found before.
  DatabaseWriter(const std::string& path, const std::string& password,
                 journal::SyncPolicy policy = journal::SyncPolicy::Off, UnlockCache* keys = nullptr);

  void insert(const std::string& table, const std::vector<convert::InputValue>& values);
  void createTable(const std::string& table, const std::vector<NewColumn>& columns);
  void dropTable(const std::string& table);
  // Creates `target` with the columns and rows of `source`.
  void selectInto(const std::string& target, const std::string& source);

 private:
  TableWriter& tableWriter(const std::string& table);
  bool tableExists(const std::string& name);
  void checkNewTable(const std::string& name, const std::vector<NewColumn>& columns);
  // Reads the catalog again after a statement changed it.
  void reopen();
  template <typename Change>
  void atomically(Change change);

  Header header_;  // read before store_ takes the file, which needs its page size
  PageStore store_;
  std::shared_ptr<Database> database_;               // reads through store_
  std::map<std::uint32_t, TableWriter> tables_;      // by TDEF page
  std::map<std::string, std::uint32_t> pageByName_;  // as statements named them
};

}  // namespace jet::write
