// The binary EncryptionInfo of Office's CryptoAPI-era schemes (versions
// 2.2, 3.2 and 4.2): the EncryptionHeader naming the cipher, hash and key
// length, and the EncryptionVerifier that checks a password. Access keeps
// it at 0x29B of the header page, after a 2-byte length at 0x299.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/file/bytes.h"

namespace jet::crypto {

inline constexpr std::uint32_t kFlagCryptoApi = 0x04;
inline constexpr std::uint32_t kFlagAes = 0x20;
inline constexpr std::uint32_t kAlgorithmRc4 = 0x6801;
inline constexpr std::uint32_t kAlgorithmAes128 = 0x660E;
inline constexpr std::uint32_t kAlgorithmAes192 = 0x660F;
inline constexpr std::uint32_t kAlgorithmAes256 = 0x6610;
inline constexpr std::uint32_t kHashSha1 = 0x8004;

struct CryptoApiInfo {
  std::uint32_t flags = 0;
  std::uint32_t algorithm = 0;      // kAlgorithm*, 0 when the flags decide
  std::uint32_t hashAlgorithm = 0;  // kHashSha1, or 0 meaning SHA-1 too
  std::uint32_t keyBits = 0;        // resolved: never 0
  std::vector<std::uint8_t> salt;
  std::vector<std::uint8_t> encryptedVerifier;  // 16 bytes
  std::uint32_t verifierHashSize = 0;
  std::vector<std::uint8_t> encryptedVerifierHash;  // 20 bytes (RC4) or 32 (AES)

  bool namesAes() const { return algorithm >= kAlgorithmAes128 && algorithm <= kAlgorithmAes256; }
};

// Parses `info` (from the version field on). An algorithm of 0 is taken
// from the flags, a key length of 0 from the algorithm (for RC4 from the
// provider: 40 bits for a "Base" provider, else 128). Raises kDamaged for
// a structure cut short.
CryptoApiInfo parseCryptoApiInfo(ByteView info);

}  // namespace jet::crypto
