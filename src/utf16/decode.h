// UTF-16 to UTF-8, the program's text. Ill-formed input never fails: a
// lone surrogate or an odd trailing byte becomes U+FFFD, so that damaged
// text still reads.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace utf16 {

void appendUtf8(std::string& out, char32_t c);

// Appends UTF-16 code units one at a time as UTF-8, pairing surrogates
// across calls. Formats that interleave UTF-16 with other encodings feed
// it piece by piece; finish() settles a high surrogate left waiting.
class Utf8Appender {
 public:
  explicit Utf8Appender(std::string& out) : out_(out) {}
  void unit(char16_t u);
  // Little-endian units; an odd last byte is U+FFFD.
  void littleEndian(std::span<const std::uint8_t> bytes);
  void finish();

 private:
  std::string& out_;
  char16_t pendingHigh_ = 0;
};

// Appends UTF-16LE `bytes` as UTF-8.
void appendUtf16le(std::span<const std::uint8_t> bytes, std::string& out);

}  // namespace utf16
