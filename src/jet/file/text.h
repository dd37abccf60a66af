// Text decoding to UTF-8: UTF-16LE (Jet4/ACE text, surrogate pairs joined
// into one code point) and Jet4's "compressed unicode", which starts with
// FF FE and then alternates, at each 0x00 byte, between one byte per
// character (the character's low byte, high byte zero) and plain UTF-16LE,
// beginning with the one-byte form.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace jet {

void appendUtf8(std::string& out, char32_t c);

// Appends UTF-16LE `bytes` as UTF-8; lone surrogates and an odd trailing
// byte become U+FFFD.
void appendUtf16le(std::span<const std::uint8_t> bytes, std::string& out);

// Appends Jet4 text, compressed or not, as UTF-8.
void appendJet4Text(std::span<const std::uint8_t> bytes, std::string& out);

}  // namespace jet
