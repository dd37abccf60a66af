#include "jet/crypto/random_bytes.h"

#include <openssl/rand.h>

#include "jet/error.h"

namespace jet::crypto {

SecretBytes randomBytes(std::size_t count) {
  SecretBytes out(count);
  if (RAND_bytes(out.data(), static_cast<int>(count)) != 1)
    throw Error(errc::kFailure, "The system has no random numbers to encrypt the database with.");
  return out;
}

}  // namespace jet::crypto
