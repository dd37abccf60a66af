#include "jet/crypto/rc4_cryptoapi_cipher.h"

#include <openssl/crypto.h>

#include "jet/crypto/digest.h"
#include "jet/error.h"
#include "jet/file/rc4.h"

namespace jet::crypto {

Rc4CryptoApiCipher::Rc4CryptoApiCipher(SecretBytes passwordHash, std::uint32_t keyBits,
                                       std::uint32_t databaseKey)
    : passwordHash_(std::move(passwordHash)), keyBits_(keyBits), databaseKey_(databaseKey) {}

SecretBytes Rc4CryptoApiCipher::keyFor(ByteView block) const {
  const SecretBytes full = sha1_.of({passwordHash_, block});
  const SecretBytes key = full.fittedTo(keyBits_ / 8, 0);
  return keyBits_ == 40 ? key.fittedTo(16, 0) : key;
}

bool Rc4CryptoApiCipher::verifies(const CryptoApiInfo& info) const {
  const BlockKey zero{};
  const SecretBytes key = keyFor(zero);
  Rc4 rc4(key);
  SecretBytes verifier(info.encryptedVerifier);
  SecretBytes hash(info.encryptedVerifierHash);
  rc4.apply(verifier.span());
  rc4.apply(hash.span());
  const SecretBytes expected = sha1_.of({verifier});
  const std::size_t n = std::min<std::size_t>(info.verifierHashSize, expected.size());
  return n > 0 && n <= hash.size() && CRYPTO_memcmp(expected.data(), hash.data(), n) == 0;
}

void Rc4CryptoApiCipher::decrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const {
  Rc4(keyFor(blockKey(databaseKey_, page))).apply(bytes);
}

std::unique_ptr<PageCipher> openRc4CryptoApi(const CryptoApiInfo& info, const SecretBytes& password,
                                             std::uint32_t databaseKey) {
  if (info.keyBits < 40 || info.keyBits > 128 || info.keyBits % 8 != 0)
    throw Error(errc::kFailure, "The database's RC4 key length of " + std::to_string(info.keyBits) +
                                    " bits is not one CryptoAPI allows.");
  auto cipher = std::make_unique<Rc4CryptoApiCipher>(Hasher("SHA1").of({info.salt, password}), info.keyBits,
                                                     databaseKey);
  if (!cipher->verifies(info)) throw Error(errc::kInvalidPassword, "Not a valid password.");
  return cipher;
}

}  // namespace jet::crypto
