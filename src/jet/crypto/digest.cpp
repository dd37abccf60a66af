#include "jet/crypto/digest.h"

#include <openssl/evp.h>

#include <string>

#include "jet/error.h"

namespace jet::crypto {
namespace {

const char* openSslName(std::string_view office) {
  if (office == "SHA1") return "SHA1";
  if (office == "SHA256") return "SHA256";
  if (office == "SHA384") return "SHA384";
  if (office == "SHA512") return "SHA512";
  return nullptr;
}

}  // namespace

Hasher::Hasher(std::string_view algorithm) {
  const char* name = openSslName(algorithm);
  if (name == nullptr)
    throw Error(errc::kFailure, "The database is encrypted with the hash algorithm '" +
                                    std::string(algorithm) + "', which this engine cannot use.");
  md_ = EVP_MD_fetch(nullptr, name, nullptr);
  ctx_ = EVP_MD_CTX_new();
  if (md_ == nullptr || ctx_ == nullptr) {
    EVP_MD_free(md_);
    EVP_MD_CTX_free(ctx_);
    throw Error(errc::kFailure, "The cryptographic library offers no " + std::string(name) + ".");
  }
  size_ = static_cast<std::size_t>(EVP_MD_get_size(md_));
}

Hasher::~Hasher() {
  EVP_MD_CTX_free(ctx_);
  EVP_MD_free(md_);
}

void Hasher::hashInto(std::initializer_list<std::span<const std::uint8_t>> pieces, std::uint8_t* out) const {
  bool ok = EVP_DigestInit_ex2(ctx_, md_, nullptr) == 1;
  for (const auto& piece : pieces) ok = ok && EVP_DigestUpdate(ctx_, piece.data(), piece.size()) == 1;
  ok = ok && EVP_DigestFinal_ex(ctx_, out, nullptr) == 1;
  if (!ok) throw Error(errc::kFailure, "Hashing failed in the cryptographic library.");
}

SecretBytes Hasher::of(std::initializer_list<std::span<const std::uint8_t>> pieces) const {
  SecretBytes out(size_);
  hashInto(pieces, out.data());
  return out;
}

SecretBytes Hasher::iteratedPasswordHash(std::span<const std::uint8_t> salt,
                                         std::span<const std::uint8_t> password,
                                         std::uint32_t spinCount) const {
  SecretBytes current = of({salt, password});
  SecretBytes next(size_);
  for (std::uint32_t round = 0; round < spinCount; ++round) {
    const std::uint8_t counter[4] = {static_cast<std::uint8_t>(round), static_cast<std::uint8_t>(round >> 8),
                                     static_cast<std::uint8_t>(round >> 16),
                                     static_cast<std::uint8_t>(round >> 24)};
    hashInto({counter, current.view()}, next.data());
    std::swap(current, next);
  }
  return current;
}

}  // namespace jet::crypto
