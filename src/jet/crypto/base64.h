// Base64, as Agile encryption stores salts and encrypted keys in its XML.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace jet::crypto {

std::string toBase64(std::span<const std::uint8_t> bytes);
// nullopt for text that is not Base64.
std::optional<std::vector<std::uint8_t>> fromBase64(std::string_view text);

}  // namespace jet::crypto
