// Case-insensitive comparison of SQL keywords and the words Jet accepts as
// values (TRUE, Yes, Off...). They are English words, so folding ASCII
// letters suffices; unlike std::toupper it does not depend on the locale
// the program runs in, and it costs no call per character.
#pragma once

#include <algorithm>
#include <string_view>

namespace jet {

constexpr char foldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

}  // namespace jet
