#include "jet/crypto/jet_rc4_cipher.h"

#include "jet/file/rc4.h"

namespace jet::crypto {

void JetRc4Cipher::decrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const {
  Rc4(blockKey(databaseKey_, page)).apply(bytes);
}

}  // namespace jet::crypto
