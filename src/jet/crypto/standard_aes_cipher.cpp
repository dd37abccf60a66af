#include "jet/crypto/standard_aes_cipher.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <array>

#include "jet/crypto/aes.h"
#include "jet/error.h"

namespace jet::crypto {
namespace {

constexpr std::size_t kPadBlock = 64;

}  // namespace

StandardAesCipher::StandardAesCipher(SecretBytes passwordHash, std::uint32_t keyBits,
                                     std::uint32_t databaseKey)
    : passwordHash_(std::move(passwordHash)), keyBits_(keyBits), databaseKey_(databaseKey) {}

SecretBytes StandardAesCipher::keyFor(ByteView block) const {
  const SecretBytes final = sha1_.of({passwordHash_, block});
  SecretBytes inner(kPadBlock, 0x36), outer(kPadBlock, 0x5C);
  for (std::size_t i = 0; i < final.size(); ++i) {
    inner.data()[i] ^= final.data()[i];
    outer.data()[i] ^= final.data()[i];
  }
  const SecretBytes x1 = sha1_.of({inner}), x2 = sha1_.of({outer});
  SecretBytes both(x1.size() + x2.size());
  std::copy_n(x1.data(), x1.size(), both.data());
  std::copy_n(x2.data(), x2.size(), both.data() + x1.size());
  return both.fittedTo(keyBits_ / 8, 0);
}

bool StandardAesCipher::verifies(const CryptoApiInfo& info) const {
  const BlockKey zero{};
  const Aes aes(keyFor(zero), ChainingMode::Ecb);
  SecretBytes verifier(info.encryptedVerifier);
  SecretBytes hash(info.encryptedVerifierHash);
  aes.decrypt(verifier.span());
  aes.decrypt(hash.span());
  const SecretBytes expected = sha1_.of({verifier});
  const std::size_t n = std::min<std::size_t>(info.verifierHashSize, expected.size());
  return n > 0 && n <= hash.size() && CRYPTO_memcmp(expected.data(), hash.data(), n) == 0;
}

void StandardAesCipher::decrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const {
  Aes(keyFor(blockKey(databaseKey_, page)), ChainingMode::Ecb).decrypt(bytes);
}

void StandardAesCipher::encrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const {
  Aes(keyFor(blockKey(databaseKey_, page)), ChainingMode::Ecb).encrypt(bytes);
}

std::unique_ptr<PageCipher> openStandardAes(const CryptoApiInfo& info, const SecretBytes& password,
                                            std::uint32_t databaseKey, std::uint32_t spinCount) {
  if (!info.namesAes() || (info.hashAlgorithm != 0 && info.hashAlgorithm != kHashSha1))
    throw Error(errc::kFailure,
                "The database's Standard encryption names a cipher or hash other than AES and "
                "SHA-1, which this engine cannot read.");
  if (info.keyBits != 128 && info.keyBits != 192 && info.keyBits != 256)
    throw Error(errc::kFailure, "The database's AES key length of " + std::to_string(info.keyBits) +
                                    " bits is not one AES has.");
  auto cipher = std::make_unique<StandardAesCipher>(
      Hasher("SHA1").iteratedPasswordHash(info.salt, password, spinCount), info.keyBits, databaseKey);
  if (!cipher->verifies(info)) throw Error(errc::kInvalidPassword, "Not a valid password.");
  return cipher;
}

}  // namespace jet::crypto
