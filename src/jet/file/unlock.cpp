#include "jet/file/unlock.h"

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

std::shared_ptr<const crypto::PageCipher> unlock(ByteView rawPage0, const Header& header,
                                                 const std::string& password, const std::string& path) {
  if (!header.password.empty() && header.password != password)
    throw Error(errc::kInvalidPassword, "Not a valid password.");
  return crypto::openPageCipher(rawPage0, header, password, path);
}

std::shared_ptr<const crypto::PageCipher> UnlockCache::unlock(ByteView rawPage0, const Header& header,
                                                              const std::string& password,
                                                              const std::string& path) {
  const ByteView given(reinterpret_cast<const std::uint8_t*>(password.data()), password.size());
  if (filled_ && std::ranges::equal(rawPage0, page0_) && std::ranges::equal(given, password_.view()))
    return cipher_;
  filled_ = false;
  cipher_ = jet::unlock(rawPage0, header, password, path);
  page0_.assign(rawPage0.begin(), rawPage0.end());
  password_ = crypto::SecretBytes(given);
  filled_ = true;
  return cipher_;
}

}  // namespace jet
