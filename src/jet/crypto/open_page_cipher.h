// Choosing a database's page cipher from its header page: none for plain
// files, Jet's RC4 encoding for Jet3/Jet4 files with a database key, and
// for ACE files with a database key the Office scheme their EncryptionInfo
// names, unlocked with the password.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "jet/crypto/page_cipher.h"
#include "jet/file/bytes.h"
#include "jet/file/header.h"

namespace jet::crypto {

// Offset of the EncryptionInfo (after its 2-byte length at 0x299).
inline constexpr std::size_t kEncryptionInfoOffset = kOfficeEncryptionOffset + 2;

// nullptr when the pages are stored plain. Raises "Not a valid password."
// (kInvalidPassword) for a wrong password, and an error naming the scheme
// for one this engine cannot read. `path` names the file in errors.
std::shared_ptr<const PageCipher> openPageCipher(ByteView rawPage0, const Header& header,
                                                 std::string_view password, const std::string& path);

}  // namespace jet::crypto
