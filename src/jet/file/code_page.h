// Decoding of single-byte code-page text (Jet3 stores text in the code page
// named by the database header). Unknown code page numbers fall back to
// 1252, the code page Jet uses when none is given.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace jet {

class CodePage {
 public:
  explicit CodePage(int number);
  static bool known(int number);
  // Appends the UTF-8 form of `bytes` to `out`.
  void appendUtf8Of(std::span<const std::uint8_t> bytes, std::string& out) const;

 private:
  const char16_t* high_ = nullptr;  // code points of bytes 0x80..0xFF
};

}  // namespace jet
