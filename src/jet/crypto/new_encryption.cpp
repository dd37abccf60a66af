#include "jet/crypto/new_encryption.h"

#include "jet/crypto/agile_cipher.h"
#include "jet/crypto/office_password.h"
#include "jet/crypto/random_bytes.h"
#include "jet/error.h"

namespace jet::crypto {
namespace {

constexpr std::uint16_t kAgileVersion = 4;
constexpr std::uint32_t kAgileReserved = 0x40;

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Any key but 0, which would mean "not encrypted".
std::uint32_t randomDatabaseKey() {
  for (;;) {
    const SecretBytes bytes = randomBytes(4);
    const std::uint32_t key = bytes.data()[0] | (bytes.data()[1] << 8) | (bytes.data()[2] << 16) |
                              (static_cast<std::uint32_t>(bytes.data()[3]) << 24);
    if (key != 0) return key;
  }
}

}  // namespace

NewEncryption newAgileFileEncryption(std::string_view password) {
  NewEncryption e;
  e.databaseKey = randomDatabaseKey();
  NewAgileEncryption agile = newAgileEncryption(officePassword(password), e.databaseKey);
  const std::size_t infoLength = 8 + agile.xml.size();
  if (infoLength > 0xFFFF)
    throw Error(errc::kFailure, "The encryption description does not fit the header page.");
  put(e.headerBlock, static_cast<std::uint32_t>(infoLength), 2);
  put(e.headerBlock, kAgileVersion, 2);
  put(e.headerBlock, kAgileVersion, 2);
  put(e.headerBlock, kAgileReserved, 4);
  e.headerBlock.insert(e.headerBlock.end(), agile.xml.begin(), agile.xml.end());
  e.cipher = std::move(agile.cipher);
  return e;
}

}  // namespace jet::crypto
