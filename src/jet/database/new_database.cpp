#include "jet/database/new_database.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "jet/catalog/catalog_writer.h"
#include "jet/catalog/system_tables.h"
#include "jet/crypto/new_encryption.h"
#include "jet/error.h"
#include "jet/file/header.h"
#include "jet/file/put_bytes.h"
#include "jet/journal/file_handle.h"
#include "jet/page/data_page_writer.h"
#include "jet/usage_map/usage_map_format.h"
#include "utf16/encode.h"

namespace jet::write {
namespace {

constexpr std::uint16_t kCodePage1252 = 1252;
constexpr std::size_t kPasswordChars = 20;

// Fields Jet writes at fixed places of every Jet4/ACE header; their
// meaning is not documented.
constexpr std::size_t kPageMark = 0x01;       // the page starts 00 01 00 00
constexpr std::size_t kHeaderFlags = 0x19;    // 01 at 0x19, 01 01 at 0x1C
constexpr std::size_t kSystemPages = 0x20;    // 2, 3, 4, 5 as 32-bit numbers
constexpr std::size_t kEngineVersion = 0x98;  // 1620 and "4.0"

Version versionOf(NewFormat f) {
  switch (f) {
    case NewFormat::Jet4: return Version::Jet4;
    case NewFormat::Ace12: return Version::Ace12;
    case NewFormat::Ace14: return Version::Ace14;
    case NewFormat::Ace16: return Version::Ace16;
  }
  return Version::Jet4;
}

Header newHeader(Version version, const std::string& password, std::uint32_t databaseKey) {
  Header h;
  h.version = version;
  h.format = Format::of(version);
  h.codePage = kCodePage1252;
  h.sortOrder = kGeneralSortOrder;
  // Access 2010 and later make new files in the 2010 "General" order;
  // earlier versions know only the legacy one.
  h.sortOrderVersion = version >= Version::Ace14 ? 1 : 0;
  h.creationDate = nowAsDays();
  h.password = password;
  h.databaseKey = databaseKey;
  return h;
}

std::vector<std::uint8_t> headerPage(const Header& h) {
  const auto units = utf16::utf8ToUtf16(h.password);
  if (!units || units->size() > kPasswordChars)
    throw Error(errc::kFailure, "The database password must be at most 20 characters.");

  std::vector<std::uint8_t> p(h.format.pageSize, 0);
  p[kPageMark] = 0x01;
  const std::string_view name = h.version == Version::Jet4 ? kJetEngineName : kAceEngineName;
  std::copy(name.begin(), name.end(), p.begin() + kEngineNameOffset);
  p[kVersionOffset] = static_cast<std::uint8_t>(h.version);
  p[kHeaderFlags] = 0x01;
  p[kHeaderFlags + 3] = 0x01;
  p[kHeaderFlags + 4] = 0x01;
  for (std::uint32_t i = 0; i < 4; ++i) put32(p, kSystemPages + 4 * i, 2 + i);
  put16(p, kCodePageOffset, h.codePage);
  put32(p, kDatabaseKeyOffset, h.databaseKey);
  put16(p, h.format.sortOrderOffset, h.sortOrder);
  p[h.format.sortOrderOffset + 3] = h.sortOrderVersion;
  std::uint64_t dateBits;
  std::memcpy(&dateBits, &h.creationDate, sizeof dateBits);
  put64(p, kCreationDateOffset, dateBits);

  // The password, UTF-16LE, XORed with the creation date's whole days
  // (an empty password is the mask alone).
  const auto days = static_cast<std::uint32_t>(static_cast<std::int32_t>(h.creationDate));
  for (std::size_t i = 0; i < h.format.passwordLength; ++i) {
    const std::size_t unit = i / 2;
    const std::uint8_t plain =
        unit < units->size() ? static_cast<std::uint8_t>((*units)[unit] >> (8 * (i % 2))) : 0;
    p[kPasswordOffset + i] = plain ^ static_cast<std::uint8_t>(days >> (8 * (i % 4)));
  }
  applyHeaderMask(p, h.format);
  put32(p, kEngineVersion, 1620);
  const std::string_view engine("4.0", 4);
  std::copy(engine.begin(), engine.end(), p.begin() + kEngineVersion + 4);
  return p;
}

// Page 1: a data page whose row 0 is the global usage map, every page
// free except the header and this page.
std::vector<std::uint8_t> globalMapPage(const Format& f) {
  std::vector<std::uint8_t> page = emptyDataPage(f, 1);  // Jet names the page itself as owner
  std::vector<std::uint8_t> map(kInlineMapHeader + kInlineMapBitmapBytes, 0xFF);
  map[0] = 0;        // inline map
  put32(map, 1, 0);  // starting at page 0
  map[5] = 0xFC;     // pages 0 and 1 in use
  addRow(page, f, map);
  return page;
}

Error alreadyThere(const std::string& path) {
  return Error(errc::kFailure, "Database '" + path + "' already exists.");
}

// A file being built under a name of its own beside the database, removed
// again unless it was published.
class Draft {
 public:
  explicit Draft(const std::string& target) : path_(target + ".XXXXXX") {
    const int fd = ::mkstemp(path_.data());
    if (fd < 0) throw Error(errc::kFailure, "Cannot create database '" + target + "'.");
    ::close(fd);
  }
  Draft(const Draft&) = delete;
  Draft& operator=(const Draft&) = delete;
  ~Draft() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    std::filesystem::remove(path_ + "-journal", ignored);
  }
  const std::string& path() const { return path_; }

  // Gives the finished file the name `target`, which must still be free:
  // link() never replaces an existing file.
  void publish(const std::string& target) {
    if (::link(path_.c_str(), target.c_str()) != 0) throw alreadyThere(target);
  }

 private:
  std::string path_;
};

}  // namespace

void createDatabase(const std::string& path, NewFormat format, const std::string& password) {
  const Version version = versionOf(format);
  // An ACE file with a password is encrypted; the password then opens the
  // key, and the header's password field stays empty.
  const bool encrypted = version != Version::Jet4 && !password.empty();
  const crypto::NewEncryption encryption =
      encrypted ? crypto::newAgileFileEncryption(password) : crypto::NewEncryption{};
  const Header header = newHeader(version, encrypted ? "" : password, encryption.databaseKey);
  auto page0 = headerPage(header);
  std::copy(encryption.headerBlock.begin(), encryption.headerBlock.end(),
            page0.begin() + static_cast<std::ptrdiff_t>(kOfficeEncryptionOffset));
  if (std::filesystem::exists(path)) throw alreadyThere(path);
  // Built under another name and linked into place when complete, so that
  // a process killed meanwhile never leaves half a database under `path`.
  Draft draft(path);
  {
    journal::FileHandle file(draft.path(), journal::FileHandle::Mode::ReadWrite);
    file.writeAt(0, page0);
    auto page1 = globalMapPage(header.format);
    if (encryption.cipher) encryption.cipher->encode(1, page1);
    file.writeAt(header.format.pageSize, page1);
  }
  {
    PageStore store(draft.path(), header.format.pageSize, journal::SyncPolicy::Off, encryption.cipher);
    const auto tables = systemTablesOf(header.version);
    writeSystemTables(store, header, tables);
    writeCatalogRows(store, header, tables);
    store.commit();
  }
  draft.publish(path);
}

}  // namespace jet::write
