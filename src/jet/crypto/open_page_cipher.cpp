#include "jet/crypto/open_page_cipher.h"

#include <cstdio>

#include "jet/crypto/agile_cipher.h"
#include "jet/crypto/crypto_api_info.h"
#include "jet/crypto/jet_rc4_cipher.h"
#include "jet/crypto/office_password.h"
#include "jet/crypto/rc4_cryptoapi_cipher.h"
#include "jet/crypto/standard_aes_cipher.h"

namespace jet::crypto {
namespace {

constexpr std::size_t kAgileReservedSize = 4;  // after the version: 0x40

Error unreadable(const std::string& path, const std::string& scheme) {
  return Error(errc::kFailure, "Cannot open '" + path + "': it is encrypted with " + scheme +
                                   ", which this engine cannot read.");
}

std::string hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

std::unique_ptr<PageCipher> openCryptoApi(ByteView info, const SecretBytes& password,
                                          std::uint32_t databaseKey, const std::string& path) {
  const std::uint32_t flags = u32(info, 4);
  if ((flags & kFlagCryptoApi) == 0) throw unreadable(path, "an Office encryption without CryptoAPI");
  const CryptoApiInfo parsed = parseCryptoApiInfo(info);
  if ((flags & kFlagAes) != 0) return openStandardAes(parsed, password, databaseKey, kStandardSpinCount);
  // A CryptoAPI header naming AES without the AES flag comes from writers
  // that store Standard-style keys without the hash iterations.
  if (parsed.namesAes()) return openStandardAes(parsed, password, databaseKey, 0);
  if (parsed.algorithm != kAlgorithmRc4 || (parsed.hashAlgorithm != 0 && parsed.hashAlgorithm != kHashSha1))
    throw unreadable(path, "Office CryptoAPI encryption using algorithm " + hex(parsed.algorithm));
  return openRc4CryptoApi(parsed, password, databaseKey);
}

}  // namespace

std::shared_ptr<const PageCipher> openPageCipher(ByteView rawPage0, const Header& header,
                                                 std::string_view password, const std::string& path) {
  if (header.databaseKey == 0) return nullptr;
  if (header.version < Version::Ace12) return std::make_shared<JetRc4Cipher>(header.databaseKey);

  const ByteView info = slice(rawPage0, kEncryptionInfoOffset, u16(rawPage0, kOfficeEncryptionOffset),
                              "the encryption information");
  const std::uint16_t major = u16(info, 0), minor = u16(info, 2);
  const SecretBytes secret = officePassword(password);
  if (major == 4 && minor == 4) {
    const ByteView xml = slice(info, 4 + kAgileReservedSize, info.size() - 4 - kAgileReservedSize,
                               "the encryption description");
    return openAgile(std::string_view(reinterpret_cast<const char*>(xml.data()), xml.size()), secret,
                     header.databaseKey);
  }
  if ((major == 2 || major == 3 || major == 4) && minor == 2)
    return openCryptoApi(info, secret, header.databaseKey, path);
  if (major == 1 && minor == 1) throw unreadable(path, "Office binary RC4 encryption");
  if ((major == 3 || major == 4) && minor == 3) throw unreadable(path, "Office extensible encryption");
  throw unreadable(path, "an unknown Office encryption (version " + std::to_string(major) + "." +
                             std::to_string(minor) + ")");
}

}  // namespace jet::crypto
