// RC4, the stream cipher of two Jet codecs: the fixed-key mask over the
// header page and the per-page encoding of databases with a database key.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace jet {

class Rc4 {
 public:
  explicit Rc4(std::span<const std::uint8_t> key);
  // XORs the keystream over `data` in place (encoding and decoding alike).
  void apply(std::span<std::uint8_t> data);

 private:
  std::array<std::uint8_t, 256> state_{};
  std::uint8_t i_ = 0, j_ = 0;
};

}  // namespace jet
