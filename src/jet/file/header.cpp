// Header page parsing: unmasking, fields, password and Office encryption
// detection.
#include "jet/file/header.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "jet/file/code_page.h"
#include "jet/file/rc4.h"
#include "utf16/decode.h"

namespace jet {
namespace {

constexpr std::array<std::uint8_t, 4> kHeaderMaskKey = {0xC7, 0xDA, 0x39, 0x6B};

// The date's integer part, saturated as Jet's writers convert it (NaN: 0).
std::int32_t wholeDays(double date) {
  if (!(date == date)) return 0;
  if (date >= 2147483647.0) return INT32_MAX;
  if (date <= -2147483648.0) return INT32_MIN;
  return static_cast<std::int32_t>(date);
}

std::string decodePassword(std::vector<std::uint8_t> bytes, const Header& h) {
  if (h.format.hasCreationDate) {
    // Jet4 masks the password with the creation date's whole days.
    const std::int32_t days = wholeDays(h.creationDate);
    std::uint8_t mask[4];
    const auto bits = static_cast<std::uint32_t>(days);
    for (int i = 0; i < 4; ++i) mask[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] ^= mask[i % 4];
  }
  std::string text;
  if (h.format.jet3) {
    const auto end = std::find(bytes.begin(), bytes.end(), 0);
    CodePage(h.codePage).appendUtf8Of(std::span(bytes.begin(), end), text);
    return text;
  }
  std::size_t units = bytes.size() / 2;
  while (units > 0 && bytes[2 * units - 1] == 0 && bytes[2 * units - 2] == 0) --units;
  utf16::appendUtf16le(std::span(bytes.data(), 2 * units), text);
  return text;
}

OfficeEncryption officeEncryptionOf(ByteView page) {
  const std::size_t infoLength = u16(page, kOfficeEncryptionOffset);
  if (infoLength < 8) return OfficeEncryption::Other;
  const std::uint16_t major = u16(page, kOfficeEncryptionOffset + 2);
  const std::uint16_t minor = u16(page, kOfficeEncryptionOffset + 4);
  if (major == 4 && minor == 4) return OfficeEncryption::Agile;
  if ((major == 2 || major == 3 || major == 4) && minor == 2) {
    constexpr std::uint32_t kCryptoApi = 0x04, kAes = 0x20;
    const std::uint32_t flags = u32(page, kOfficeEncryptionOffset + 6);
    if ((flags & kAes) != 0) return OfficeEncryption::Standard;
    if ((flags & kCryptoApi) != 0) return OfficeEncryption::Rc4CryptoApi;
  }
  return OfficeEncryption::Other;
}

}  // namespace

bool looksLikeAccessHeader(ByteView page0) {
  if (page0.size() < 2048 || page0[0] != 0 || page0[1] != 1) return false;
  const auto name = std::string_view(reinterpret_cast<const char*>(page0.data()) + kEngineNameOffset,
                                     kJetEngineName.size());
  if (name != kJetEngineName && name != kAceEngineName) return false;
  return page0[kVersionOffset] <= static_cast<std::uint8_t>(Version::Ace17);
}

void applyHeaderMask(std::span<std::uint8_t> page0, const Format& format) {
  Rc4 mask(kHeaderMaskKey);
  mask.apply(page0.subspan(kHeaderMaskStart, format.headerMaskLength));
}

Header parseHeader(ByteView rawPage0) {
  Header h;
  h.version = static_cast<Version>(u8(rawPage0, kVersionOffset));
  h.format = Format::of(h.version);
  std::vector<std::uint8_t> page(rawPage0.begin(), rawPage0.end());
  applyHeaderMask(page, h.format);
  const ByteView p(page);
  h.codePage = u16(p, kCodePageOffset);
  h.databaseKey = u32(p, kDatabaseKeyOffset);
  h.sortOrder = u16(p, h.format.sortOrderOffset);
  if (!h.format.jet3) h.sortOrderVersion = u8(p, h.format.sortOrderOffset + 3);
  if (h.format.hasCreationDate) h.creationDate = f64(p, kCreationDateOffset);
  const auto pw = slice(p, kPasswordOffset, h.format.passwordLength, "the password");
  if (h.version >= Version::Ace12 && h.databaseKey != 0) {
    // Office encryption replaces the header password: Access fills that
    // field with a repeated filler byte.
    h.officeEncryption = officeEncryptionOf(rawPage0);
  } else {
    h.password = decodePassword({pw.begin(), pw.end()}, h);
  }
  return h;
}

}  // namespace jet
