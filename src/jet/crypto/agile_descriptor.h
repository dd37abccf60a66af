// The XML of Office Agile encryption (EncryptionInfo 4.4): the keyData
// element describing how pages are encrypted, and the password key
// encryptor holding the page key, encrypted under a key derived from the
// password, with a verifier. Only what the password scheme needs is read;
// certificate key encryptors and the data-integrity HMAC are not.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace jet::crypto {

struct AgileCipherParameters {
  std::uint32_t saltSize = 16;
  std::uint32_t blockSize = 16;
  std::uint32_t keyBits = 256;
  std::uint32_t hashSize = 64;
  std::string cipherAlgorithm = "AES";
  std::string cipherChaining = "ChainingModeCBC";
  std::string hashAlgorithm = "SHA512";
  std::vector<std::uint8_t> salt;
};

struct AgilePasswordKey {
  AgileCipherParameters cipher;
  std::uint32_t spinCount = 100000;
  std::vector<std::uint8_t> encryptedVerifierHashInput;
  std::vector<std::uint8_t> encryptedVerifierHashValue;
  std::vector<std::uint8_t> encryptedKeyValue;
};

struct AgileDescriptor {
  AgileCipherParameters keyData;
  AgilePasswordKey passwordKey;
};

// Raises jet::Error naming what is missing: no password key encryptor, an
// attribute absent or malformed.
AgileDescriptor parseAgileDescriptor(std::string_view xml);
std::string agileDescriptorXml(const AgileDescriptor& descriptor);

}  // namespace jet::crypto
