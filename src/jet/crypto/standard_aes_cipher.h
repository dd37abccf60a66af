// ECMA-376 Standard encryption of an Access file (EncryptionInfo x.2 with
// the AES flag): AES-128/192/256 in ECB mode, SHA-1. The password hash is
// SHA-1(salt + password) iterated 50,000 times; a page's key comes from
// SHA-1(that hash + block key) through the X1/X2 construction of
// CryptDeriveKey. Some writers put AES into a CryptoAPI header without the
// AES flag; those files use the same keys without the iterations.
#pragma once

#include <memory>

#include "jet/crypto/crypto_api_info.h"
#include "jet/crypto/digest.h"
#include "jet/crypto/page_cipher.h"
#include "jet/crypto/secret_bytes.h"

namespace jet::crypto {

inline constexpr std::uint32_t kStandardSpinCount = 50000;

class StandardAesCipher final : public PageCipher {
 public:
  // `passwordHash` is the (iterated) hash of salt and password.
  StandardAesCipher(SecretBytes passwordHash, std::uint32_t keyBits, std::uint32_t databaseKey);

  SecretBytes keyFor(ByteView block) const;
  bool verifies(const CryptoApiInfo& info) const;

 protected:
  void decrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const override;
  void encrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const override;

 private:
  Hasher sha1_{"SHA1"};
  SecretBytes passwordHash_;
  std::uint32_t keyBits_;
  std::uint32_t databaseKey_;
};

// The cipher for `info` (an AES algorithm, SHA-1) and `password`, with the
// password hash iterated `spinCount` times; raises "Not a valid password."
// when the verifier disagrees.
std::unique_ptr<PageCipher> openStandardAes(const CryptoApiInfo& info, const SecretBytes& password,
                                            std::uint32_t databaseKey, std::uint32_t spinCount);

}  // namespace jet::crypto
