// The encryption of a new password-protected ACE file, as Access 2010 and
// later make it: Agile, AES-256, SHA-512, 100,000 spins, under a random
// database key. The header page carries the key and the EncryptionInfo;
// every other page goes through the cipher.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "jet/crypto/page_cipher.h"

namespace jet::crypto {

struct NewEncryption {
  std::uint32_t databaseKey = 0;
  // The 2-byte length and the EncryptionInfo, for the header page at 0x299.
  std::vector<std::uint8_t> headerBlock;
  std::shared_ptr<const PageCipher> cipher;
};

// Raises jet::Error for a password that is not UTF-8 or is too long for
// the header page's room.
NewEncryption newAgileFileEncryption(std::string_view password);

}  // namespace jet::crypto
