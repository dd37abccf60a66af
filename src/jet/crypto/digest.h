// Hashing through OpenSSL, in the ways Office's password schemes need: a
// hash over several pieces laid end to end, and the iterated password hash
// H(salt + password) followed by `spinCount` rounds of H(round + previous).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>

#include "jet/crypto/secret_bytes.h"

typedef struct evp_md_st EVP_MD;
typedef struct evp_md_ctx_st EVP_MD_CTX;

namespace jet::crypto {

class Hasher {
 public:
  // `algorithm` as Office names it: "SHA1", "SHA256", "SHA384", "SHA512".
  // Throws jet::Error for another name.
  explicit Hasher(std::string_view algorithm);
  ~Hasher();
  Hasher(const Hasher&) = delete;
  Hasher& operator=(const Hasher&) = delete;

  std::size_t size() const { return size_; }
  SecretBytes of(std::initializer_list<std::span<const std::uint8_t>> pieces) const;
  SecretBytes iteratedPasswordHash(std::span<const std::uint8_t> salt, std::span<const std::uint8_t> password,
                                   std::uint32_t spinCount) const;

 private:
  void hashInto(std::initializer_list<std::span<const std::uint8_t>> pieces, std::uint8_t* out) const;

  EVP_MD* md_ = nullptr;
  EVP_MD_CTX* ctx_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace jet::crypto
