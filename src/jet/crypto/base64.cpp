#include "jet/crypto/base64.h"

#include <openssl/evp.h>

namespace jet::crypto {

std::string toBase64(std::span<const std::uint8_t> bytes) {
  std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes.data(),
                                static_cast<int>(bytes.size()));
  text.resize(static_cast<std::size_t>(n));
  return text;
}

std::optional<std::vector<std::uint8_t>> fromBase64(std::string_view text) {
  if (text.empty()) return std::vector<std::uint8_t>{};
  if (text.size() % 4 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(3 * (text.size() / 4));
  const int n = EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                static_cast<int>(text.size()));
  if (n < 0) return std::nullopt;
  // The decoder counts the bytes '=' padding stands for; they are not data.
  std::size_t padding = 0;
  for (auto it = text.rbegin(); it != text.rend() && *it == '=' && padding < 2; ++it) ++padding;
  bytes.resize(static_cast<std::size_t>(n) - padding);
  return bytes;
}

}  // namespace jet::crypto
