// The database header (page 0). Most of it from 0x18 on is hidden under a
// fixed RC4 mask; once unmasked it gives the file generation, code page,
// sort order, database key (non-zero: the other pages are encoded), the
// database password and, from Jet4 on, the creation date whose integer
// part further masks that password. ACE files with a database key carry an
// Office EncryptionInfo block at 0x299 instead of Jet's page encoding.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "jet/file/bytes.h"
#include "jet/file/format.h"

namespace jet {

enum class OfficeEncryption { None, Rc4CryptoApi, Standard, Agile, Other };

struct Header {
  Version version = Version::Jet4;
  Format format;
  std::uint16_t codePage = 0;
  std::uint16_t sortOrder = 0;
  std::uint8_t sortOrderVersion = 0;
  std::uint32_t databaseKey = 0;  // 0: pages are stored plain
  double creationDate = 0;        // days since 1899-12-30; Jet4+ only
  std::string password;           // UTF-8, "" when the database has none
  OfficeEncryption officeEncryption = OfficeEncryption::None;
};

// The "General" sort order (Access's default, Windows locale 0x0409), in
// the header and in every text column's descriptor; its version tells the
// legacy variant (0, Jet4 and ACE12) from the 2010 one (1).
inline constexpr std::uint16_t kGeneralSortOrder = 0x0409;

// The engine's name at the start of the header: Jet3 and Jet4 files
// carry the first, ACE files the second.
inline constexpr std::size_t kEngineNameOffset = 0x04;
inline constexpr std::string_view kJetEngineName = "Standard Jet DB";
inline constexpr std::string_view kAceEngineName = "Standard ACE DB";

inline constexpr std::size_t kHeaderMaskStart = 0x18;
inline constexpr std::size_t kVersionOffset = 0x14;
inline constexpr std::size_t kCodePageOffset = 0x3C;
inline constexpr std::size_t kDatabaseKeyOffset = 0x3E;
inline constexpr std::size_t kPasswordOffset = 0x42;
inline constexpr std::size_t kCreationDateOffset = 0x72;
inline constexpr std::size_t kOfficeEncryptionOffset = 0x299;

// True when `page0` starts like an Access header ("Standard Jet DB" or
// "Standard ACE DB" with a known version byte).
bool looksLikeAccessHeader(ByteView page0);

// XORs the header mask over `page0` (masking and unmasking alike).
void applyHeaderMask(std::span<std::uint8_t> page0, const Format& format);

// Parses a raw (masked) header page; the caller has checked
// looksLikeAccessHeader().
Header parseHeader(ByteView rawPage0);

}  // namespace jet
