// CRC-32 (IEEE 802.3 polynomial), enough to tell a journal record that was
// written whole from one torn by a crash.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace jet::journal {

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

}  // namespace jet::journal
