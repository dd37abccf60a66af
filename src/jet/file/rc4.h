// RC4, the stream cipher of Jet's fixed-key mask over the header page, of
// Jet's per-page encoding of databases with a database key, and of Office's
// RC4 CryptoAPI encryption (OpenSSL 3 keeps RC4 in its legacy provider).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace jet {

class Rc4 {
 public:
  explicit Rc4(std::span<const std::uint8_t> key);
  // The state is key material: wiped when the cipher goes away.
  ~Rc4();
  Rc4(const Rc4&) = delete;
  Rc4& operator=(const Rc4&) = delete;
  // XORs the keystream over `data` in place (encoding and decoding alike).
  void apply(std::span<std::uint8_t> data);

 private:
  std::array<std::uint8_t, 256> state_{};
  std::uint8_t i_ = 0, j_ = 0;
};

}  // namespace jet
