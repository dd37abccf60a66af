// Header page: versions, passwords (Jet3 plain, Jet4 date-masked), Jet RC4
// page encoding, Office encryption detection and unlocking, and the
// password rule.
#include "jet/file/header.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "fixtures.h"

namespace jet {
namespace {

using testing::fixture;
using testing::fixtureBytes;
using testing::openBytes;

Header headerOf(const std::string& relative) {
  const auto bytes = fixtureBytes(relative);
  EXPECT_TRUE(looksLikeAccessHeader(bytes)) << relative;
  return parseHeader(bytes);
}

TEST(Header, ReadsTheVersionOfEachGeneration) {
  EXPECT_EQ(headerOf("jet3/testV1997.mdb").version, Version::Jet3);
  EXPECT_EQ(headerOf("jet3/testV1997.mdb").format.pageSize, 2048u);
  EXPECT_EQ(headerOf("jet4/test2V2000.mdb").version, Version::Jet4);
  EXPECT_EQ(headerOf("ace12/testV2007.accdb").version, Version::Ace12);
  EXPECT_EQ(headerOf("ace14/testV2010.accdb").version, Version::Ace14);
  EXPECT_EQ(headerOf("ace16/bigint.accdb").version, Version::Ace16);
  EXPECT_EQ(headerOf("ace17/extDateTestV2019.accdb").version, Version::Ace17);
  EXPECT_EQ(headerOf("ace14/testV2010.accdb").format.pageSize, 4096u);
}

TEST(Header, ReadsCodePageSortOrderAndCreationDate) {
  const Header jet3 = headerOf("jet3/testV1997.mdb");
  EXPECT_EQ(jet3.codePage, 1252);
  EXPECT_EQ(jet3.sortOrder, 0x409);
  const Header ace = headerOf("ace14/testV2010.accdb");
  EXPECT_EQ(ace.sortOrder, 0x409);
  EXPECT_EQ(ace.sortOrderVersion, 1);  // "General" of Access 2010
  EXPECT_EQ(headerOf("ace12/testV2007.accdb").sortOrderVersion, 0);
  EXPECT_GT(ace.creationDate, 36526.0);  // after 2000-01-01
}

TEST(Header, DecodesDatabasePasswords) {
  EXPECT_EQ(headerOf("encrypted/V2000_with-password.mdb").password, "password");
  EXPECT_EQ(headerOf("encrypted/password.mdb").password, "ucanaccess");
  EXPECT_EQ(headerOf("jet3/testV1997.mdb").password, "");
  EXPECT_EQ(headerOf("jet4/test2V2000.mdb").password, "");
  EXPECT_EQ(headerOf("ace12/testV2007.accdb").password, "");
}

TEST(Header, TellsTheKindsOfOfficeEncryptionApart) {
  EXPECT_EQ(headerOf("encrypted/office-agile-4.4.accdb").officeEncryption, OfficeEncryption::Agile);
  EXPECT_EQ(headerOf("encrypted/office-agile-4.2.accdb").officeEncryption, OfficeEncryption::Rc4CryptoApi);
  EXPECT_EQ(headerOf("encrypted/db2007-enc.accdb").officeEncryption, OfficeEncryption::Agile);
  EXPECT_EQ(headerOf("ace14/testV2010.accdb").officeEncryption, OfficeEncryption::None);
}

TEST(Header, JetRc4EncodedPagesHaveADatabaseKey) {
  EXPECT_NE(headerOf("encrypted/db-enc.mdb").databaseKey, 0u);
  EXPECT_NE(headerOf("encrypted/db97-enc.mdb").databaseKey, 0u);
  EXPECT_EQ(headerOf("jet4/test2V2000.mdb").databaseKey, 0u);
}

TEST(Password, OpensOnlyWithExactlyTheStoredPassword) {
  const std::string path = fixture("encrypted/V2000_with-password.mdb");
  for (const char* wrong : {"", "Password", "password ", "passwor"}) {
    try {
      Database::open(path, wrong);
      ADD_FAILURE() << "opened with '" << wrong << "'";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), errc::kInvalidPassword);
      EXPECT_STREQ(e.what(), "Not a valid password.");
    }
  }
  EXPECT_EQ(Database::open(path, "password")->table("Table1").countRows(), 3u);
}

TEST(Password, IsIgnoredWhenTheDatabaseHasNone) {
  EXPECT_NO_THROW(Database::open(fixture("jet4/delColTestV2000.mdb"), "anything"));
}

TEST(Password, Jet3PasswordsAreStoredInTheCodePageUnderTheHeaderMask) {
  auto bytes = fixtureBytes("jet3/testV1997.mdb");
  const Format format = Format::of(Version::Jet3);
  applyHeaderMask(bytes, format);
  std::memcpy(&bytes[kPasswordOffset], "Secr\xE9t", 6);  // é in cp1252
  applyHeaderMask(bytes, format);
  EXPECT_EQ(parseHeader(bytes).password, "Secr\xC3\xA9t");
  EXPECT_THROW(openBytes(bytes, "Secret"), Error);
  EXPECT_NO_THROW(openBytes(bytes, "Secr\xC3\xA9t"));
}

Error openingError(const std::function<void()>& open) {
  try {
    open();
  } catch (const Error& e) {
    return e;
  }
  return Error(0, "opened");
}

TEST(Encryption, OfficeEncryptedFilesOpenWithTheirPasswordAlone) {
  struct Case {
    const char* file;
    const char* password;
    std::size_t rows;
  };
  for (const Case& c : {Case{"encrypted/office-agile-4.4.accdb", "password", 3},
                        Case{"encrypted/office-agile-4.2.accdb", "password", 3},
                        Case{"encrypted/db2007-enc.accdb", "Test123", 1}}) {
    EXPECT_EQ(testing::readTable(*Database::open(fixture(c.file), c.password), "Table1").size(), c.rows)
        << c.file;
    for (const char* wrong : {"", "Password", "wrong"}) {
      const Error e = openingError([&] { Database::open(fixture(c.file), wrong); });
      EXPECT_EQ(e.number(), errc::kInvalidPassword) << c.file << " with '" << wrong << "'";
      EXPECT_EQ(e.description(), "Not a valid password.");
    }
  }
}

// Agile AES-128 with SHA-1, which mdb-reader cannot read; what Jackcess
// reads with the password.
TEST(Encryption, AgileAes128Sha1FileHoldsItsTable) {
  auto db = Database::open(fixture("encrypted/db2007-enc.accdb"), "Test123");
  const Table table = db->table("Table1");
  ASSERT_EQ(table.columns().size(), 2u);
  EXPECT_EQ(table.columns()[0].name, "ID");
  EXPECT_EQ(table.columns()[0].type(), ColumnType::Int32);
  EXPECT_NE(table.columns()[0].flags & column_flags::kAutoLong, 0);
  EXPECT_EQ(table.columns()[1].name, "Field1");
  EXPECT_EQ(table.columns()[1].type(), ColumnType::Text);
  EXPECT_EQ(table.columns()[1].length, 2 * 255);
  const auto rows = testing::readTable(*db, "Table1");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(std::get<std::int32_t>(rows[0][0]), 1);
  EXPECT_EQ(std::get<std::string>(rows[0][1]), "foo");
}

TEST(Encryption, KeptKeysServeOnlyTheSameHeaderAndPassword) {
  UnlockCache keys;
  const std::string agile = fixture("encrypted/office-agile-4.4.accdb");
  EXPECT_EQ(testing::readTable(*Database::open(agile, "password", keys), "Table1").size(), 3u);
  EXPECT_EQ(openingError([&] { Database::open(agile, "wrong", keys); }).number(), errc::kInvalidPassword);
  EXPECT_EQ(testing::readTable(*Database::open(agile, "password", keys), "Table1").size(), 3u);
  const std::string rc4 = fixture("encrypted/office-agile-4.2.accdb");
  EXPECT_EQ(testing::readTable(*Database::open(rc4, "password", keys), "Table1").size(), 3u);
}

TEST(Encryption, SchemesItCannotReadAreNamed) {
  struct Case {
    std::uint16_t major, minor;
    const char* named;
  };
  for (const Case& c :
       {Case{1, 1, "Office binary RC4 encryption"}, Case{4, 3, "Office extensible encryption"},
        Case{9, 9, "unknown Office encryption (version 9.9)"}}) {
    auto bytes = fixtureBytes("encrypted/office-agile-4.2.accdb");
    bytes[kOfficeEncryptionOffset + 2] = static_cast<std::uint8_t>(c.major);
    bytes[kOfficeEncryptionOffset + 4] = static_cast<std::uint8_t>(c.minor);
    const Error e = openingError([&] { openBytes(bytes, "password"); });
    EXPECT_EQ(e.number(), errc::kFailure);
    EXPECT_NE(e.description().find(c.named), std::string::npos) << e.description();
    EXPECT_EQ(e.description().find("password"), std::string::npos)
        << "the password shows: " << e.description();
  }
}

TEST(Encryption, JetRc4PagesReadTransparently) {
  for (const char* file : {"encrypted/db-enc.mdb", "encrypted/db97-enc.mdb"}) {
    auto db = Database::open(fixture(file), "");
    const auto rows = testing::readTable(*db, "Table1");
    ASSERT_EQ(rows.size(), 2u) << file;
    EXPECT_EQ(std::get<std::string>(rows[0][1]), "hello");
    EXPECT_EQ(std::get<std::int32_t>(rows[1][2]), 42);
  }
}

}  // namespace
}  // namespace jet
