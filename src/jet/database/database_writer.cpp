#include "jet/database/database_writer.h"

#include <cctype>
#include <set>

#include "jet/catalog/catalog_writer.h"
#include "jet/database/referential_integrity.h"
#include "jet/error.h"
#include "jet/error_numbers.h"
#include "jet/file/unlock.h"
#include "jet/row/stored_rows.h"
#include "jet/table/table_def_writer.h"

namespace jet::write {
namespace {

std::vector<std::uint8_t> headerPageOf(const std::string& path) {
  journal::FileHandle file(path, journal::FileHandle::Mode::ReadWrite);
  std::vector<std::uint8_t> first(4096);
  if (!file.readAt(0, first) || !looksLikeAccessHeader(first))
    throw Error(errc::kFailure, "Unrecognized database format '" + path + "'.");
  return first;
}

Header writableHeader(const std::string& path) {
  journal::RollbackJournal::recover(path);
  const Header header = parseHeader(headerPageOf(path));
  if (header.version == Version::Jet3)
    throw Error(errc::kFailure,
                "Cannot change '" + path + "': Access 97 databases can be read but not written.");
  return header;
}

// Checks the password before the store takes the file; an encrypted file's
// pages go through the cipher it unlocks.
std::shared_ptr<const crypto::PageCipher> unlockedCipher(const std::string& path, const Header& header,
                                                         const std::string& password, UnlockCache* keys) {
  const auto page0 = headerPageOf(path);
  return keys ? keys->unlock(page0, header, password, path) : unlock(page0, header, password, path);
}

}  // namespace

DatabaseWriter::DatabaseWriter(const std::string& path, const std::string& password,
                               journal::SyncPolicy policy, UnlockCache* keys)
    : header_(writableHeader(path)),
      store_(path, header_.format.pageSize, policy, unlockedCipher(path, header_, password, keys)),
      database_(Database::openDecoded(store_.snapshot(), path)) {}

template <typename Change>
void DatabaseWriter::atomically(Change change) {
  try {
    change();
    store_.commit();
  } catch (...) {
    store_.discard();
    for (auto& [page, table] : tables_) table.forgetPlacement();
    throw;
  }
}

TableWriter& DatabaseWriter::tableWriter(const std::string& name) {
  if (const auto known = pageByName_.find(name); known != pageByName_.end()) return tables_.at(known->second);
  const Table table = database_->table(name);
  auto it = tables_.find(table.def().page);
  if (it == tables_.end())
    it = tables_
             .try_emplace(table.def().page, store_, header_, table.def(), table.name(),
                          requiredReferences(*database_, table.def()))
             .first;
  pageByName_[name] = table.def().page;
  return it->second;
}

void DatabaseWriter::insert(const std::string& table, const std::vector<convert::InputValue>& values) {
  atomically([&] { tableWriter(table).insert(store_, values); });
}

bool DatabaseWriter::tableExists(const std::string& name) {
  try {
    database_->table(name);
    return true;
  } catch (const Error& e) {
    if (e.number() == errc::kNoSuchTable) return false;
    throw;
  }
}

void DatabaseWriter::reopen() {
  database_ = Database::openDecoded(store_.snapshot(), store_.path());
  tables_.clear();
  pageByName_.clear();
}

void DatabaseWriter::checkNewTable(const std::string& name, const std::vector<NewColumn>& columns) {
  checkObjectName(name, "table");
  if (columns.size() > kMaxColumns) throw Error(errc::kFailure, "Too many fields defined.");
  std::set<std::string> seen;
  for (const auto& c : columns) {
    checkObjectName(c.name, "field");
    std::string folded = c.name;
    for (char& ch : folded) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (!seen.insert(folded).second)
      throw Error(errc::kSyntaxError, "Field '" + c.name + "' already exists in table '" + name + "'.");
  }
  if (tableExists(name)) throw Error(errc::kTableExists, "Table '" + name + "' already exists.");
}

void DatabaseWriter::createTable(const std::string& name, const std::vector<NewColumn>& columns) {
  checkNewTable(name, columns);
  atomically([&] {
    const std::uint32_t tdef = createTableDefinition(store_, header_, columns);
    auto snapshot = Database::openDecoded(store_.snapshot(), store_.path());
    CatalogWriter(store_, header_, *snapshot).addTable(name, tdef);
  });
  reopen();
}

void DatabaseWriter::dropTable(const std::string& name) {
  const Table table = database_->table(name);
  if (table.def().tableType != table_type::kUser)
    throw Error(errc::kFailure, "Cannot delete '" + table.name() + "'; it is a system table.");
  // Attachment and multi-valued fields keep their values in hidden tables
  // that MSysComplexColumns ties to this one; they would be left behind.
  for (const ColumnDef& c : table.columns())
    if (c.type() == ColumnType::Complex)
      throw Error(errc::kFailure,
                  "Cannot delete table '" + table.name() + "': its field '" + c.name +
                      "' is an attachment or multi-valued field, which this engine cannot remove.");
  atomically([&] {
    auto snapshot = Database::openDecoded(store_.snapshot(), store_.path());
    CatalogWriter(store_, header_, *snapshot).removeTable(table.name(), table.def().page);
    releaseTablePages(store_, header_, table.def());
  });
  reopen();
}

void DatabaseWriter::selectInto(const std::string& target, const std::string& sourceName) {
  const Table source = database_->table(sourceName);
  std::vector<NewColumn> columns;
  for (const ColumnDef& c : source.columns()) columns.push_back(writableColumn(c));
  checkNewTable(target, columns);
  atomically([&] {
    const std::uint32_t tdef = createTableDefinition(store_, header_, columns);
    auto snapshot = Database::openDecoded(store_.snapshot(), store_.path());
    CatalogWriter(store_, header_, *snapshot).addTable(target, tdef);
    TableWriter copy(store_, header_, snapshot->tableAtPage(tdef, target).def(), target);
    // Row by row, the copy's new pages going to the file as they fill, so
    // that copying a large table takes no more memory than a small one.
    forEachStoredRow(store_, header_, source.def(), [&](const StoredRow& row) {
      std::vector<convert::Value> values;
      for (const Value& v : row.values) values.push_back(toWritable(v));
      copy.insertValues(store_, std::move(values));
      store_.writeAhead();
    });
  });
  reopen();
}

}  // namespace jet::write
