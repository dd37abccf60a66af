// How the pages of an encrypted database are stored. Every scheme leaves
// the header page (page 0) as it is and encrypts each other page on its
// own, with a key or IV made from the page's "block key": the header's
// 4-byte database key XORed with the page number. Pages are therefore
// independent, and a writer re-encrypts only the pages it changes.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace jet::crypto {

class PageCipher {
 public:
  virtual ~PageCipher() = default;

  // Turn page `page` as stored into its plain bytes, and back, in place.
  void decode(std::uint32_t page, std::span<std::uint8_t> bytes) const {
    if (page != 0) decrypt(page, bytes);
  }
  void encode(std::uint32_t page, std::span<std::uint8_t> bytes) const {
    if (page != 0) encrypt(page, bytes);
  }

 protected:
  virtual void decrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const = 0;
  virtual void encrypt(std::uint32_t page, std::span<std::uint8_t> bytes) const = 0;
};

using BlockKey = std::array<std::uint8_t, 4>;

// The database key XORed with `block`, little-endian. Block 0 stands for
// the password verifier in the Office schemes, which use 0 itself there.
inline BlockKey blockKey(std::uint32_t databaseKey, std::uint32_t block) {
  const std::uint32_t k = databaseKey ^ block;
  return {static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(k >> 8), static_cast<std::uint8_t>(k >> 16),
          static_cast<std::uint8_t>(k >> 24)};
}

}  // namespace jet::crypto
