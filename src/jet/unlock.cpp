#include "jet/unlock.h"

#include <algorithm>

#include "jet/crypto/open_page_cipher.h"

namespace jet {

std::vector<std::uint8_t> readHeaderPage(const ByteSource& source, const std::string& path) {
  const Error unrecognized(errc::kFailure, "Unrecognized database format '" + path + "'.");
  std::vector<std::uint8_t> first(std::min<std::uint64_t>(source.size(), 4096));
  source.read(0, first);
  if (!looksLikeAccessHeader(first)) throw unrecognized;
  if (Format::of(static_cast<Version>(first[kVersionOffset])).pageSize > first.size()) throw unrecognized;
  return first;
}

std::shared_ptr<const crypto::PageCipher> unlock(ByteView rawPage0, const Header& header, const std::string& password,
                                                 const std::string& path) {
  if (!header.password.empty() && header.password != password)
    throw Error(errc::kInvalidPassword, "Not a valid password.");
  return crypto::openPageCipher(rawPage0, header, password, path);
}

}  // namespace jet
