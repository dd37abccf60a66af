// The engine's public face. Database::open checks the file (exists, is an
// Access database, password matches - the Jet header password, or the key
// of an encrypted file), then reads the catalog; tables are found by name and read through a RowCursor.
// Objects share ownership of the open database, so a cursor stays valid
// after the Database handle that made it is gone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/catalog/catalog_reader.h"
#include "jet/crypto/page_cipher.h"
#include "jet/file/header.h"
#include "jet/file/pager.h"
#include "jet/file/unlock.h"
#include "jet/row/row_cursor.h"
#include "jet/table/table_def_reader.h"

namespace jet {

class Table {
 public:
  Table(std::shared_ptr<Database> database, std::string name, std::shared_ptr<const TableDef> def)
      : database_(std::move(database)), name_(std::move(name)), def_(std::move(def)) {}

  const std::string& name() const { return name_; }
  const TableDef& def() const { return *def_; }
  const std::vector<ColumnDef>& columns() const { return def_->columns; }
  // Live rows, counted from the row slots (the stored count is not trusted).
  std::uint64_t countRows() const;
  RowCursor rows() const;

 private:
  std::shared_ptr<Database> database_;
  std::string name_;
  std::shared_ptr<const TableDef> def_;
};

class Database : public std::enable_shared_from_this<Database> {
 public:
  // `path` names the file in error messages.
  static std::shared_ptr<Database> open(const std::string& path, const std::string& password);
  // The same, unlocking an encrypted file through `keys`, which keeps the
  // key for the next opening.
  static std::shared_ptr<Database> open(const std::string& path, const std::string& password,
                                        UnlockCache& keys);
  static std::shared_ptr<Database> open(std::unique_ptr<ByteSource> source, const std::string& path,
                                        const std::string& password, UnlockCache* keys = nullptr);
  // A database whose pages `source` gives already decoded, by a writer
  // that checked the password when it opened the file.
  static std::shared_ptr<Database> openDecoded(std::unique_ptr<ByteSource> source, const std::string& path);

  const Header& header() const { return header_; }
  Pager& pager() { return pager_; }
  const std::vector<CatalogEntry>& catalog() const { return catalog_; }

  // The table called `name` (letter case ignored, as Access does), local
  // or linked from another Access file; throws kNoSuchTable for other
  // names, queries and ODBC links.
  Table table(std::string_view name);
  // The table whose definition starts at `page`.
  Table tableAtPage(std::uint32_t page, std::string name);

  Database(const Header& header, std::unique_ptr<ByteSource> source,
           std::shared_ptr<const crypto::PageCipher> cipher);

 private:
  Table linkedTable(const CatalogEntry& link);

  Header header_;
  Pager pager_;
  std::vector<CatalogEntry> catalog_;
};

}  // namespace jet
