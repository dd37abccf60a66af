// Office Agile encryption of an Access file (EncryptionInfo 4.4, as Access
// 2010 and later write it): each page is AES-CBC under the file's random
// page key, with the IV H(keyData salt + block key) cut to the block size.
// The page key is stored encrypted under a key derived from the password:
// H(salt + password), iterated spinCount times, then H(that + a fixed
// block) fitted to the key length, with 0x36 bytes as padding.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "jet/crypto/aes.h"
#include "jet/crypto/agile_descriptor.h"
#include "jet/crypto/digest.h"
#include "jet/crypto/page_cipher.h"
#include "jet/crypto/secret_bytes.h"

namespace jet::crypto {

class AgileCipher final : public PageCipher {
 public:
  AgileCipher(const AgileCipherParameters& keyData, const SecretBytes& pageKey, std::uint32_t databaseKey);

 protected:
  void decrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const override;
  void encrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const override;

 private:
  SecretBytes ivFor(std::uint32_t page) const;

  Hasher hasher_;
  Aes aes_;
  std::vector<std::uint8_t> salt_;
  std::uint32_t blockSize_;
  std::uint32_t databaseKey_;
};

// The cipher for the file whose descriptor is `xml`; raises "Not a valid
// password." when the verifier disagrees, and names a cipher, chaining or
// hash it cannot use.
std::unique_ptr<PageCipher> openAgile(std::string_view xml, const SecretBytes& password,
                                      std::uint32_t databaseKey);

struct NewAgileEncryption {
  std::string xml;
  std::unique_ptr<PageCipher> cipher;
};

// A fresh page key, salts and verifier for `password`: AES-256-CBC with
// SHA-512 and `spinCount` rounds, as Access 2010 and later make them.
NewAgileEncryption newAgileEncryption(const SecretBytes& password, std::uint32_t databaseKey,
                                      std::uint32_t spinCount = 100000);

}  // namespace jet::crypto
