#include "jet/crypto/aes.h"

#include <openssl/evp.h>

#include "jet/error.h"

namespace jet::crypto {
namespace {

const EVP_CIPHER* cipherFor(std::size_t keyBytes, ChainingMode mode) {
  const bool cbc = mode == ChainingMode::Cbc;
  switch (keyBytes) {
    case 16: return cbc ? EVP_aes_128_cbc() : EVP_aes_128_ecb();
    case 24: return cbc ? EVP_aes_192_cbc() : EVP_aes_192_ecb();
    case 32: return cbc ? EVP_aes_256_cbc() : EVP_aes_256_ecb();
    default: throw Error(errc::kFailure, "An AES key must be 128, 192 or 256 bits long.");
  }
}

Error cryptoFailure() {
  return Error(errc::kFailure, "AES failed in the cryptographic library.");
}

EVP_CIPHER_CTX* keyedContext(const EVP_CIPHER* cipher, std::span<const std::uint8_t> key, bool encrypt) {
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  if (ctx == nullptr || EVP_CipherInit_ex2(ctx, cipher, key.data(), nullptr, encrypt ? 1 : 0, nullptr) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx, 0) != 1) {
    EVP_CIPHER_CTX_free(ctx);
    throw cryptoFailure();
  }
  return ctx;
}

}  // namespace

Aes::Aes(std::span<const std::uint8_t> key, ChainingMode mode) : mode_(mode) {
  const EVP_CIPHER* cipher = cipherFor(key.size(), mode);
  encryptor_ = keyedContext(cipher, key, true);
  try {
    decryptor_ = keyedContext(cipher, key, false);
  } catch (...) {
    EVP_CIPHER_CTX_free(encryptor_);
    throw;
  }
}

Aes::~Aes() {
  // Freeing a context wipes its key schedule.
  EVP_CIPHER_CTX_free(encryptor_);
  EVP_CIPHER_CTX_free(decryptor_);
}

void Aes::run(EVP_CIPHER_CTX* ctx, std::span<std::uint8_t> data, std::span<const std::uint8_t> iv) const {
  if (data.size() % kAesBlock != 0) throw Error(errc::kFailure, "AES data must be whole 16-byte blocks.");
  if (mode_ == ChainingMode::Cbc) {
    if (iv.size() != kAesBlock) throw Error(errc::kFailure, "An AES IV must be 16 bytes long.");
    if (EVP_CipherInit_ex2(ctx, nullptr, nullptr, iv.data(), -1, nullptr) != 1) throw cryptoFailure();
  }
  int written = 0;
  if (EVP_CipherUpdate(ctx, data.data(), &written, data.data(), static_cast<int>(data.size())) != 1 ||
      static_cast<std::size_t>(written) != data.size())
    throw cryptoFailure();
}

void Aes::encrypt(std::span<std::uint8_t> data, std::span<const std::uint8_t> iv) const {
  run(encryptor_, data, iv);
}
void Aes::decrypt(std::span<std::uint8_t> data, std::span<const std::uint8_t> iv) const {
  run(decryptor_, data, iv);
}

}  // namespace jet::crypto
