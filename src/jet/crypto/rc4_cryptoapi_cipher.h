// Office RC4 CryptoAPI encryption of an Access file (EncryptionInfo 2.2,
// 3.2 or 4.2 naming RC4): each page is RC4 with the key
// SHA-1(SHA-1(salt + password) + block key), cut to the key length; a
// 40-bit key is padded with zero bytes to 128 bits, as CryptoAPI does.
#pragma once

#include <memory>

#include "jet/crypto/crypto_api_info.h"
#include "jet/crypto/digest.h"
#include "jet/crypto/page_cipher.h"
#include "jet/crypto/secret_bytes.h"

namespace jet::crypto {

class Rc4CryptoApiCipher final : public PageCipher {
 public:
  // `passwordHash` is SHA-1(salt + password).
  Rc4CryptoApiCipher(SecretBytes passwordHash, std::uint32_t keyBits, std::uint32_t databaseKey);

  SecretBytes keyFor(ByteView block) const;
  // Whether the verifier decrypts to a value and its hash.
  bool verifies(const CryptoApiInfo& info) const;

 protected:
  void decrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const override;
  void encrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const override { decrypt(page, bytes); }

 private:
  Hasher sha1_{"SHA1"};
  SecretBytes passwordHash_;
  std::uint32_t keyBits_;
  std::uint32_t databaseKey_;
};

// The cipher for `info` (RC4, SHA-1, 40 to 128 bits) and `password`;
// raises "Not a valid password." when the verifier disagrees.
std::unique_ptr<PageCipher> openRc4CryptoApi(const CryptoApiInfo& info, const SecretBytes& password,
                                             std::uint32_t databaseKey);

}  // namespace jet::crypto
