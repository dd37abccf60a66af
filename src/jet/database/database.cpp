// Opening a database: file checks, header, password, catalog.
#include "jet/database/database.h"

#include <algorithm>
#include <cctype>

#include "jet/journal/rollback_journal.h"

namespace jet {
namespace {

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

Error noSuchTable(std::string_view name) {
  return Error(errc::kNoSuchTable,
               "The Microsoft Access database engine cannot find the input table or query '" +
                   std::string(name) + "'. Make sure it exists and that its name is spelled correctly.");
}

// The password a link's connect string carries (";PWD=secret"), if any.
std::string passwordOfLink(const std::string& connect) {
  constexpr std::string_view kKey = "PWD=";
  for (std::size_t pos = 0; pos < connect.size();) {
    const std::size_t end = std::min(connect.find(';', pos), connect.size());
    const std::string_view part(connect.data() + pos, end - pos);
    if (part.size() >= kKey.size() && sameNameIgnoringCase(part.substr(0, kKey.size()), kKey))
      return std::string(part.substr(kKey.size()));
    pos = end + 1;
  }
  return "";
}

}  // namespace

RowCursor Table::rows() const {
  return RowCursor(database_, database_->pager(), database_->header(), def_);
}

std::uint64_t Table::countRows() const {
  return countLiveRows(database_->pager(), database_->header().format, *def_);
}

Database::Database(const Header& header, std::unique_ptr<ByteSource> source,
                   std::shared_ptr<const crypto::PageCipher> cipher)
    : header_(header), pager_(std::move(source), header.format.pageSize, std::move(cipher)) {}

std::shared_ptr<Database> Database::open(const std::string& path, const std::string& password) {
  journal::RollbackJournal::recover(path);  // undo a statement a crash cut short
  return open(openFileSource(path), path, password);
}

std::shared_ptr<Database> Database::open(const std::string& path, const std::string& password,
                                         UnlockCache& keys) {
  journal::RollbackJournal::recover(path);
  return open(openFileSource(path), path, password, &keys);
}

std::shared_ptr<Database> Database::open(std::unique_ptr<ByteSource> source, const std::string& path,
                                         const std::string& password, UnlockCache* keys) {
  // Declared first so that the consistent read, which refers to the source
  // the database comes to own, ends before the database can go.
  std::shared_ptr<Database> db;
  // Header, size and catalog from between the same two statements.
  const ConsistentRead consistent(*source);
  const auto page0 = readHeaderPage(*source, path);
  const Header header = parseHeader(page0);
  auto cipher = keys ? keys->unlock(page0, header, password, path) : unlock(page0, header, password, path);
  db = std::make_shared<Database>(header, std::move(source), std::move(cipher));
  db->catalog_ = readCatalog(*db);
  return db;
}

std::shared_ptr<Database> Database::openDecoded(std::unique_ptr<ByteSource> source, const std::string& path) {
  std::shared_ptr<Database> db;
  const ConsistentRead consistent(*source);
  const Header header = parseHeader(readHeaderPage(*source, path));
  db = std::make_shared<Database>(header, std::move(source), nullptr);
  db->catalog_ = readCatalog(*db);
  return db;
}

Table Database::tableAtPage(std::uint32_t page, std::string name) {
  const ConsistentRead consistent(pager_.source());
  auto def = std::make_shared<TableDef>(readTableDef(pager_, header_, page));
  for (const auto& entry : catalog_) {
    if (entry.objectType() == ObjectType::Table && entry.tableDefPage() == page)
      applyColumnProperties(*def, entry.properties, header_);
  }
  return Table(shared_from_this(), std::move(name), std::move(def));
}

Table Database::table(std::string_view name) {
  const CatalogEntry* found = nullptr;
  for (const auto& e : catalog_) {
    if (e.objectType() != ObjectType::Table && e.objectType() != ObjectType::LinkedTable) continue;
    if (e.name == name) {
      found = &e;
      break;
    }
    if (found == nullptr && sameNameIgnoringCase(e.name, name)) found = &e;
  }
  if (found == nullptr) throw noSuchTable(name);
  if (found->objectType() == ObjectType::LinkedTable) return linkedTable(*found);
  return tableAtPage(found->tableDefPage(), found->name);
}

// A linked Access table is read from its own file, as Jet does; only a
// local table there is followed, so links cannot chase each other in
// circles.
Table Database::linkedTable(const CatalogEntry& link) {
  auto target = open(link.database, passwordOfLink(link.connect));
  const std::string& remoteName = link.foreignName.empty() ? link.name : link.foreignName;
  for (const auto& e : target->catalog()) {
    if (e.objectType() == ObjectType::Table && sameNameIgnoringCase(e.name, remoteName))
      return target->tableAtPage(e.tableDefPage(), e.name);
  }
  throw noSuchTable(remoteName);
}

}  // namespace jet
