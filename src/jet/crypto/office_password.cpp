#include "jet/crypto/office_password.h"

#include <openssl/crypto.h>

#include <algorithm>

#include "jet/error.h"
#include "utf16/encode.h"

namespace jet::crypto {

SecretBytes officePassword(std::string_view utf8) {
  constexpr std::size_t kMaxUnits = 255;
  auto units = utf16::utf8ToUtf16(utf8);
  if (!units) throw Error(errc::kInvalidPassword, "Not a valid password.");
  const std::size_t n = std::min(units->size(), kMaxUnits);
  SecretBytes bytes(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    bytes.data()[2 * i] = static_cast<std::uint8_t>((*units)[i]);
    bytes.data()[2 * i + 1] = static_cast<std::uint8_t>((*units)[i] >> 8);
  }
  OPENSSL_cleanse(units->data(), units->size() * sizeof(char16_t));
  return bytes;
}

}  // namespace jet::crypto
