// The password as Office's key derivations take it: UTF-16LE, at most
// 255 characters, in wiped memory.
#pragma once

#include <string_view>

#include "jet/crypto/secret_bytes.h"

namespace jet::crypto {

// Raises "Not a valid password." for text that is not UTF-8.
SecretBytes officePassword(std::string_view utf8);

}  // namespace jet::crypto
