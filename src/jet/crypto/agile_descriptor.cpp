#include "jet/crypto/agile_descriptor.h"

#include <charconv>

#include "jet/crypto/base64.h"
#include "jet/error.h"

namespace jet::crypto {
namespace {

constexpr std::string_view kPasswordEncryptorUri =
    "http://schemas.microsoft.com/office/2006/keyEncryptor/password";

Error malformed(const std::string& what) {
  return Error(errc::kFailure, "The database's Agile encryption description is damaged: " + what + ".");
}

// The text of the start tag of the first element whose name ends in
// `name` (any namespace prefix), without its brackets.
std::string_view startTag(std::string_view xml, std::string_view name) {
  for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
    const std::size_t end = xml.find('>', at);
    if (end == std::string_view::npos) break;
    const std::string_view tag = xml.substr(at + 1, end - at - 1);
    const std::string_view element = tag.substr(0, tag.find_first_of(" \t\r\n/"));
    const std::size_t colon = element.rfind(':');
    if ((colon == std::string_view::npos ? element : element.substr(colon + 1)) == name) return tag;
  }
  throw malformed("no " + std::string(name) + " element");
}

std::string_view attribute(std::string_view tag, std::string_view name) {
  for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
    const bool starts =
        at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '\r' || tag[at - 1] == '\n');
    std::size_t p = at + name.size();
    if (!starts || p >= tag.size() || tag[p] != '=') continue;
    if (++p >= tag.size() || (tag[p] != '"' && tag[p] != '\'')) continue;
    const std::size_t close = tag.find(tag[p], p + 1);
    if (close == std::string_view::npos) break;
    return tag.substr(p + 1, close - p - 1);
  }
  throw malformed("no " + std::string(name) + " attribute");
}

std::uint32_t number(std::string_view tag, std::string_view name) {
  const std::string_view text = attribute(tag, name);
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size())
    throw malformed(std::string(name) + " is not a number");
  return value;
}

std::vector<std::uint8_t> bytes(std::string_view tag, std::string_view name) {
  auto decoded = fromBase64(attribute(tag, name));
  if (!decoded) throw malformed(std::string(name) + " is not Base64");
  return std::move(*decoded);
}

AgileCipherParameters cipherParameters(std::string_view tag) {
  AgileCipherParameters p;
  p.saltSize = number(tag, "saltSize");
  p.blockSize = number(tag, "blockSize");
  p.keyBits = number(tag, "keyBits");
  p.hashSize = number(tag, "hashSize");
  p.cipherAlgorithm = attribute(tag, "cipherAlgorithm");
  p.cipherChaining = attribute(tag, "cipherChaining");
  p.hashAlgorithm = attribute(tag, "hashAlgorithm");
  p.salt = bytes(tag, "saltValue");
  return p;
}

std::string cipherAttributes(const AgileCipherParameters& p) {
  return "saltSize=\"" + std::to_string(p.saltSize) + "\" blockSize=\"" + std::to_string(p.blockSize) +
         "\" keyBits=\"" + std::to_string(p.keyBits) + "\" hashSize=\"" + std::to_string(p.hashSize) +
         "\" cipherAlgorithm=\"" + p.cipherAlgorithm + "\" cipherChaining=\"" + p.cipherChaining +
         "\" hashAlgorithm=\"" + p.hashAlgorithm + "\" saltValue=\"" + toBase64(p.salt) + "\"";
}

}  // namespace

AgileDescriptor parseAgileDescriptor(std::string_view xml) {
  if (xml.find(kPasswordEncryptorUri) == std::string_view::npos)
    throw Error(errc::kFailure,
                "The database is encrypted for certificates, not with a password; this engine "
                "can open only password-encrypted files.");
  AgileDescriptor d;
  d.keyData = cipherParameters(startTag(xml, "keyData"));
  const std::string_view key = startTag(xml, "encryptedKey");
  d.passwordKey.cipher = cipherParameters(key);
  d.passwordKey.spinCount = number(key, "spinCount");
  d.passwordKey.encryptedVerifierHashInput = bytes(key, "encryptedVerifierHashInput");
  d.passwordKey.encryptedVerifierHashValue = bytes(key, "encryptedVerifierHashValue");
  d.passwordKey.encryptedKeyValue = bytes(key, "encryptedKeyValue");
  return d;
}

std::string agileDescriptorXml(const AgileDescriptor& d) {
  const AgilePasswordKey& k = d.passwordKey;
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<encryption xmlns=\"http://schemas.microsoft.com/office/2006/encryption\" "
         "xmlns:p=\"http://schemas.microsoft.com/office/2006/keyEncryptor/password\">"
         "<keyData " +
         cipherAttributes(d.keyData) +
         "/>"
         "<keyEncryptors><keyEncryptor uri=\"" +
         std::string(kPasswordEncryptorUri) +
         "\">"
         "<p:encryptedKey spinCount=\"" +
         std::to_string(k.spinCount) + "\" " + cipherAttributes(k.cipher) + " encryptedVerifierHashInput=\"" +
         toBase64(k.encryptedVerifierHashInput) + "\" encryptedVerifierHashValue=\"" +
         toBase64(k.encryptedVerifierHashValue) + "\" encryptedKeyValue=\"" + toBase64(k.encryptedKeyValue) +
         "\"/></keyEncryptor></keyEncryptors></encryption>";
}

}  // namespace jet::crypto
