#include "jet/crypto/agile_cipher.h"

#include <openssl/crypto.h>

#include <array>

#include "jet/crypto/random_bytes.h"
#include "jet/error.h"

namespace jet::crypto {
namespace {

// The fixed blocks that tell apart the three keys made from one password.
constexpr std::array<std::uint8_t, 8> kVerifierInputBlock = {0xFE, 0xA7, 0xD2, 0x76, 0x3B, 0x4B, 0x9E, 0x79};
constexpr std::array<std::uint8_t, 8> kVerifierValueBlock = {0xD7, 0xAA, 0x0F, 0x6D, 0x30, 0x61, 0x34, 0x4E};
constexpr std::array<std::uint8_t, 8> kKeyValueBlock = {0x14, 0x6E, 0x0B, 0xE7, 0xAB, 0xAC, 0xD0, 0xD6};
constexpr std::uint8_t kKeyPadding = 0x36;

Error unsupported(const std::string& what) {
  return Error(errc::kFailure, "The database is encrypted with Office Agile encryption using " + what +
                                   ", which this engine cannot read.");
}

void checkUsable(const AgileCipherParameters& p) {
  if (p.cipherAlgorithm != "AES") throw unsupported("the cipher " + p.cipherAlgorithm);
  if (p.cipherChaining != "ChainingModeCBC") throw unsupported("the chaining mode " + p.cipherChaining);
  if (p.blockSize != kAesBlock) throw unsupported("a block size of " + std::to_string(p.blockSize));
  if (p.keyBits != 128 && p.keyBits != 192 && p.keyBits != 256)
    throw unsupported("a key of " + std::to_string(p.keyBits) + " bits");
}

// The key that encrypts one of the password key encryptor's values.
class PasswordKeys {
 public:
  PasswordKeys(const AgilePasswordKey& k, const SecretBytes& password)
      : hasher_(k.cipher.hashAlgorithm),
        iterated_(hasher_.iteratedPasswordHash(k.cipher.salt, password, k.spinCount)),
        keyBytes_(k.cipher.keyBits / 8),
        iv_(SecretBytes(k.cipher.salt).fittedTo(k.cipher.blockSize, kKeyPadding)) {}

  // Encrypts or decrypts `data` (whole blocks) under the key for `block`.
  void decrypt(std::span<const std::uint8_t> block, std::span<std::uint8_t> data) const {
    Aes(keyFor(block), ChainingMode::Cbc).decrypt(data, iv_);
  }
  void encrypt(std::span<const std::uint8_t> block, std::span<std::uint8_t> data) const {
    Aes(keyFor(block), ChainingMode::Cbc).encrypt(data, iv_);
  }
  const Hasher& hasher() const { return hasher_; }

 private:
  SecretBytes keyFor(std::span<const std::uint8_t> block) const {
    return hasher_.of({iterated_, block}).fittedTo(keyBytes_, kKeyPadding);
  }

  Hasher hasher_;
  SecretBytes iterated_;
  std::size_t keyBytes_;
  SecretBytes iv_;
};

std::size_t wholeBlocks(std::size_t n) {
  return (n + kAesBlock - 1) / kAesBlock * kAesBlock;
}

}  // namespace

AgileCipher::AgileCipher(const AgileCipherParameters& keyData, const SecretBytes& pageKey,
                         std::uint32_t databaseKey)
    : hasher_(keyData.hashAlgorithm),
      aes_(pageKey.view().first(keyData.keyBits / 8), ChainingMode::Cbc),
      salt_(keyData.salt),
      blockSize_(keyData.blockSize),
      databaseKey_(databaseKey) {}

SecretBytes AgileCipher::ivFor(std::uint32_t page) const {
  return hasher_.of({salt_, blockKey(databaseKey_, page)}).fittedTo(blockSize_, kKeyPadding);
}

void AgileCipher::decrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const {
  aes_.decrypt(bytes, ivFor(page));
}

void AgileCipher::encrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const {
  aes_.encrypt(bytes, ivFor(page));
}

std::unique_ptr<PageCipher> openAgile(std::string_view xml, const SecretBytes& password,
                                      std::uint32_t databaseKey) {
  const AgileDescriptor d = parseAgileDescriptor(xml);
  checkUsable(d.keyData);
  checkUsable(d.passwordKey.cipher);
  const AgilePasswordKey& k = d.passwordKey;
  if (k.encryptedVerifierHashInput.size() % kAesBlock != 0 ||
      k.encryptedVerifierHashValue.size() % kAesBlock != 0 || k.encryptedKeyValue.size() % kAesBlock != 0 ||
      k.encryptedKeyValue.size() < k.cipher.keyBits / 8 || d.keyData.keyBits > k.cipher.keyBits)
    throw Error(errc::kFailure,
                "The database's Agile encryption description is damaged: a key or verifier has the "
                "wrong length.");
  const PasswordKeys keys(k, password);

  SecretBytes verifier(k.encryptedVerifierHashInput);
  keys.decrypt(kVerifierInputBlock, verifier.span());
  SecretBytes storedHash(k.encryptedVerifierHashValue);
  keys.decrypt(kVerifierValueBlock, storedHash.span());
  const SecretBytes hash =
      keys.hasher().of({verifier.view().first(std::min<std::size_t>(verifier.size(), k.cipher.saltSize))});
  if (storedHash.size() < hash.size() || CRYPTO_memcmp(storedHash.data(), hash.data(), hash.size()) != 0)
    throw Error(errc::kInvalidPassword, "Not a valid password.");

  SecretBytes pageKey(k.encryptedKeyValue);
  keys.decrypt(kKeyValueBlock, pageKey.span());
  return std::make_unique<AgileCipher>(d.keyData, pageKey, databaseKey);
}

NewAgileEncryption newAgileEncryption(const SecretBytes& password, std::uint32_t databaseKey,
                                      std::uint32_t spinCount) {
  const auto plain = [](const SecretBytes& s) {
    return std::vector<std::uint8_t>(s.data(), s.data() + s.size());
  };
  AgileDescriptor d;
  d.keyData.salt = plain(randomBytes(d.keyData.saltSize));
  AgilePasswordKey& k = d.passwordKey;
  k.cipher = d.keyData;
  k.cipher.salt = plain(randomBytes(k.cipher.saltSize));
  k.spinCount = spinCount;
  const PasswordKeys keys(k, password);

  SecretBytes verifier = randomBytes(k.cipher.saltSize);
  SecretBytes hash = keys.hasher().of({verifier}).fittedTo(wholeBlocks(k.cipher.hashSize), 0);
  const SecretBytes pageKey = randomBytes(d.keyData.keyBits / 8);
  SecretBytes sealedKey = pageKey;
  keys.encrypt(kVerifierInputBlock, verifier.span());
  keys.encrypt(kVerifierValueBlock, hash.span());
  keys.encrypt(kKeyValueBlock, sealedKey.span());
  k.encryptedVerifierHashInput = plain(verifier);
  k.encryptedVerifierHashValue = plain(hash);
  k.encryptedKeyValue = plain(sealedKey);
  return {agileDescriptorXml(d), std::make_unique<AgileCipher>(d.keyData, pageKey, databaseKey)};
}

}  // namespace jet::crypto
