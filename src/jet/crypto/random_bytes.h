// Random bytes for salts, verifiers and keys, from OpenSSL's generator.
#pragma once

#include "jet/crypto/secret_bytes.h"

namespace jet::crypto {

// Throws jet::Error when the generator cannot deliver.
SecretBytes randomBytes(std::size_t count);

}  // namespace jet::crypto
