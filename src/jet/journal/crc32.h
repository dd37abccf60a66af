// CRC-32, enough to tell a journal record that was written whole from one
// torn by a crash. The journal uses the Castagnoli polynomial (CRC-32C),
// for which x86-64 processors have an instruction; the IEEE 802.3 one
// checks journals of the earlier layout.
#pragma once

#include <cstdint>
#include <span>

namespace jet::journal {

// IEEE 802.3 polynomial.
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
// Castagnoli polynomial: the processor's instruction where it has one,
// eight bytes a step, else tables.
std::uint32_t crc32c(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

}  // namespace jet::journal
