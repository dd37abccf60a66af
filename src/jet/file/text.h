// Jet4's "compressed unicode": text that starts with FF FE and then
// alternates, at each 0x00 byte, between one byte per character (the
// character's low byte, high byte zero) and plain UTF-16LE, beginning with
// the one-byte form. Text without the mark is plain UTF-16LE.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace jet {

// Appends Jet4 text, compressed or not, as UTF-8.
void appendJet4Text(std::span<const std::uint8_t> bytes, std::string& out);

}  // namespace jet
