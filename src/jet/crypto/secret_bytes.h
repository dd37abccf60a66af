// Bytes that hold a password or key material. They are wiped when they go
// away (OPENSSL_cleanse, which the compiler may not drop as a dead store),
// so that no copy of a key outlives the database that needed it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace jet::crypto {

class SecretBytes {
 public:
  SecretBytes() = default;
  explicit SecretBytes(std::size_t size, std::uint8_t fill = 0) : bytes_(size, fill) {}
  explicit SecretBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {}
  SecretBytes(const SecretBytes& other) : bytes_(other.bytes_) {}
  SecretBytes(SecretBytes&& other) noexcept : bytes_(std::move(other.bytes_)) {}
  SecretBytes& operator=(SecretBytes other) noexcept {
    wipe();
    bytes_.swap(other.bytes_);
    return *this;
  }
  ~SecretBytes() { wipe(); }

  std::size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  std::uint8_t* data() { return bytes_.data(); }
  const std::uint8_t* data() const { return bytes_.data(); }
  std::span<std::uint8_t> span() { return bytes_; }
  std::span<const std::uint8_t> view() const { return bytes_; }
  operator std::span<const std::uint8_t>() const { return bytes_; }

  // The first `size` bytes, or these bytes followed by `fill` up to `size`
  // (Office's rule for fitting a hash to a key or block length).
  SecretBytes fittedTo(std::size_t size, std::uint8_t fill) const;

 private:
  void wipe() noexcept;
  std::vector<std::uint8_t> bytes_;
};

// Overwrites a password held as text, before the string gives its memory
// back.
void wipeText(std::string& text) noexcept;

}  // namespace jet::crypto
