#include "jet/crypto/crypto_api_info.h"

#include <algorithm>
#include <cctype>

#include "utf16/decode.h"

namespace jet::crypto {
namespace {

constexpr std::size_t kHeaderSizeAt = 8;  // after version (4) and the flags' copy (4)
constexpr std::size_t kHeaderAt = 12;
constexpr std::size_t kFixedHeader = 32;  // eight 4-byte fields before the provider name
constexpr std::uint32_t kSaltSize = 16;
constexpr std::size_t kVerifierSize = 16;

std::vector<std::uint8_t> copyOf(ByteView info, std::size_t at, std::size_t n, const char* what) {
  const ByteView part = slice(info, at, n, what);
  return {part.begin(), part.end()};
}

std::uint32_t defaultKeyBits(std::uint32_t algorithm, const std::string& provider) {
  switch (algorithm) {
    case kAlgorithmAes128: return 128;
    case kAlgorithmAes192: return 192;
    case kAlgorithmAes256: return 256;
    default: break;
  }
  std::string lower = provider;
  std::ranges::transform(lower, lower.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.empty() || lower.find(" base ") != std::string::npos ? 40 : 128;
}

}  // namespace

CryptoApiInfo parseCryptoApiInfo(ByteView info) {
  CryptoApiInfo r;
  const std::uint32_t headerSize = u32(info, kHeaderSizeAt);
  const ByteView header = slice(info, kHeaderAt, headerSize, "the encryption header");
  r.flags = u32(header, 0);
  r.algorithm = u32(header, 8);
  r.hashAlgorithm = u32(header, 12);
  r.keyBits = u32(header, 16);
  std::string provider;
  if (header.size() > kFixedHeader) {
    const ByteView name = header.subspan(kFixedHeader);
    std::size_t units = 0;
    while (2 * units + 1 < name.size() && (name[2 * units] != 0 || name[2 * units + 1] != 0)) ++units;
    utf16::appendUtf16le(name.first(2 * units), provider);
  }
  if (r.algorithm == 0 && (r.flags & kFlagCryptoApi) != 0)
    r.algorithm = (r.flags & kFlagAes) != 0 ? kAlgorithmAes128 : kAlgorithmRc4;
  if (r.keyBits == 0) r.keyBits = defaultKeyBits(r.algorithm, provider);

  std::size_t at = kHeaderAt + headerSize;
  if (u32(info, at) != kSaltSize) throw damaged("the encryption verifier's salt is not 16 bytes long");
  r.salt = copyOf(info, at + 4, kSaltSize, "the encryption verifier");
  at += 4 + kSaltSize;
  r.encryptedVerifier = copyOf(info, at, kVerifierSize, "the encryption verifier");
  at += kVerifierSize;
  r.verifierHashSize = u32(info, at);
  r.encryptedVerifierHash = copyOf(info, at + 4, r.namesAes() ? 32 : 20, "the encryption verifier");
  return r;
}

}  // namespace jet::crypto
