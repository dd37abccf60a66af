#include "jet/crypto/secret_bytes.h"

#include <openssl/crypto.h>

#include <algorithm>

namespace jet::crypto {

SecretBytes SecretBytes::fittedTo(std::size_t size, std::uint8_t fill) const {
  SecretBytes out(size, fill);
  std::copy_n(bytes_.begin(), std::min(size, bytes_.size()), out.bytes_.begin());
  return out;
}

void SecretBytes::wipe() noexcept {
  if (!bytes_.empty()) OPENSSL_cleanse(bytes_.data(), bytes_.size());
}

void wipeText(std::string& text) noexcept {
  if (!text.empty()) OPENSSL_cleanse(text.data(), text.size());
}

}  // namespace jet::crypto
