#include "jet/write/database_writer.h"

#include "jet/error.h"

namespace jet::write {
namespace {

Header writableHeader(const std::string& path) {
  journal::RollbackJournal::recover(path);
  journal::FileHandle file(path, journal::FileHandle::Mode::ReadWrite);
  std::vector<std::uint8_t> first(4096);
  if (!file.readAt(0, first) || !looksLikeAccessHeader(first))
    throw Error(errc::kFailure, "Unrecognized database format '" + path + "'.");
  const Header header = parseHeader(first);
  if (header.version == Version::Jet3)
    throw Error(errc::kFailure, "Cannot change '" + path +
                                    "': Access 97 databases can be read but not written.");
  if (header.databaseKey != 0 || header.officeEncryption != OfficeEncryption::None)
    throw Error(errc::kFailure, "Cannot change '" + path + "': encrypted databases can not be written yet.");
  return header;
}

}  // namespace

DatabaseWriter::DatabaseWriter(const std::string& path, const std::string& password,
                               journal::SyncPolicy policy)
    : store_(path, writableHeader(path).format.pageSize, policy),
      header_(writableHeader(path)),
      password_(password),
      database_(Database::open(store_.snapshot(), path, password)) {}

template <typename Change>
void DatabaseWriter::atomically(Change change) {
  try {
    change();
    store_.commit();
  } catch (...) {
    store_.discard();
    for (auto& [page, inserter] : inserters_) inserter.forgetPlacement();
    throw;
  }
}

TableInserter& DatabaseWriter::inserter(const std::string& name) {
  const Table table = database_->table(name);
  auto it = inserters_.find(table.def().page);
  if (it == inserters_.end())
    it = inserters_.try_emplace(table.def().page, store_, header_, table.def(), table.name()).first;
  return it->second;
}

void DatabaseWriter::insert(const sql::InsertValues& statement) {
  atomically([&] { inserter(statement.table).insert(store_, statement.values); });
}

}  // namespace jet::write
