// UTF-8 (the program's text) to UTF-16 (what Jet stores and indexes).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jet::convert {

// nullopt for bytes that are not well-formed UTF-8 (overlong forms,
// surrogates and values past U+10FFFF included).
std::optional<std::u16string> utf8ToUtf16(std::string_view utf8);

// Appends the text as Jet4 stores it uncompressed: UTF-16LE.
void appendAsUtf16le(std::vector<std::uint8_t>& out, std::u16string_view text);

}  // namespace jet::convert
