// AES through OpenSSL, on whole 16-byte blocks in place and without
// padding: pages and Office's key blobs are whole blocks already. The key
// schedule is made once; each call in CBC mode starts from the IV given.
#pragma once

#include <cstdint>
#include <span>

typedef struct evp_cipher_ctx_st EVP_CIPHER_CTX;

namespace jet::crypto {

enum class ChainingMode { Ecb, Cbc };

class Aes {
 public:
  // `key` is 16, 24 or 32 bytes; another length throws jet::Error.
  Aes(std::span<const std::uint8_t> key, ChainingMode mode);
  ~Aes();
  Aes(const Aes&) = delete;
  Aes& operator=(const Aes&) = delete;

  // `iv` (16 bytes) is used in CBC mode only; `data` is whole blocks.
  void encrypt(std::span<std::uint8_t> data, std::span<const std::uint8_t> iv = {}) const;
  void decrypt(std::span<std::uint8_t> data, std::span<const std::uint8_t> iv = {}) const;

 private:
  void run(EVP_CIPHER_CTX* ctx, std::span<std::uint8_t> data, std::span<const std::uint8_t> iv) const;

  ChainingMode mode_;
  EVP_CIPHER_CTX* encryptor_ = nullptr;
  EVP_CIPHER_CTX* decryptor_ = nullptr;
};

inline constexpr std::size_t kAesBlock = 16;

}  // namespace jet::crypto
