// UTF-8 (the program's text) to UTF-16: what Access files store and index,
// and what ODBC's wide calls take.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace utf16 {

// nullopt for bytes that are not well-formed UTF-8 (overlong forms,
// surrogates and values past U+10FFFF included).
std::optional<std::u16string> utf8ToUtf16(std::string_view utf8);

// Appends the units as little-endian bytes.
void appendAsUtf16le(std::vector<std::uint8_t>& out, std::u16string_view text);

}  // namespace utf16
