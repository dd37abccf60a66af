#include "utf16/encode.h"

#include <bit>
#include <cstddef>
#include <cstring>

namespace utf16 {

std::optional<std::u16string> utf8ToUtf16(std::string_view utf8) {
  // Never more UTF-16 units than UTF-8 bytes: sized once, cut at the end.
  std::u16string out(utf8.size(), u'\0');
  std::size_t n = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    // ASCII, most of any text, in a tight loop of its own.
    while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80)
      out[n++] = static_cast<char16_t>(utf8[i++]);
    if (i == utf8.size()) break;
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length;
    char32_t c;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
      return std::nullopt;
    }
    if (utf8.size() - i < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    if (c >= 0x10000) {
      c -= 0x10000;
      out[n++] = static_cast<char16_t>(0xD800 + (c >> 10));
      out[n++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out[n++] = static_cast<char16_t>(c);
    }
    i += length;
  }
  out.resize(n);
  return out;
}

void appendAsUtf16le(std::vector<std::uint8_t>& out, std::u16string_view text) {
  std::size_t at = out.size();
  out.resize(at + text.size() * 2);
  // On a little-endian machine the units already lie in memory as stored.
  if constexpr (std::endian::native == std::endian::little) {
    if (!text.empty()) std::memcpy(out.data() + at, text.data(), text.size() * 2);
  } else {
    for (const char16_t u : text) {
      out[at++] = static_cast<std::uint8_t>(u & 0xFF);
      out[at++] = static_cast<std::uint8_t>(u >> 8);
    }
  }
}

}  // namespace utf16
