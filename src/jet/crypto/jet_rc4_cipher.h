// Jet's own page encoding (Jet3 and Jet4 files with a database key and no
// Office encryption): RC4 over the whole page, keyed with the page's block
// key. It needs no password.
#pragma once

#include "jet/crypto/page_cipher.h"

namespace jet::crypto {

class JetRc4Cipher final : public PageCipher {
 public:
  explicit JetRc4Cipher(std::uint32_t databaseKey) : databaseKey_(databaseKey) {}

 protected:
  void decrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const override;
  void encrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const override { decrypt(page, bytes); }

 private:
  std::uint32_t databaseKey_;
};

}  // namespace jet::crypto
